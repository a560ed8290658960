// Starting programs without a shell, ShellExecute's outcome codes, and the
// file-system object on the machine.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "host/files/file_system.h"
#include "host/runtime/errors.h"
#include "host/shell/shell.h"
#include "host/system/platform.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

using namespace std::chrono_literals;
using Status = shell::LaunchResult::Status;

TEST(SpawnLauncher, ArgumentsArriveVerbatimAndTheOutcomeIsReported) {
  shell::SpawnLauncher launcher(5s);
  // Were the arguments parsed by a shell, ';' would split the command.
  auto r = launcher.launch({"test", "a b;c", "=", "a b;c"});
  EXPECT_EQ(r.status, Status::Exited);
  EXPECT_EQ(r.exitCode, 0);
  r = launcher.launch({"sh", "-c", "exit 3"});
  EXPECT_EQ(r.status, Status::Exited);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(launcher.launch({"/nonexistent/opener", "x"}).status, Status::NotStarted);
  EXPECT_EQ(launcher.launch({}).status, Status::NotStarted);
}

TEST(SpawnLauncher, AProgramStillRunningCountsAsStarted) {
  shell::SpawnLauncher launcher(50ms);
  EXPECT_EQ(launcher.launch({"sleep", "2"}).status, Status::Running);
}

struct ScriptedLauncher : shell::Launcher {
  shell::LaunchResult answer;
  int calls = 0;
  shell::LaunchResult launch(const std::vector<std::string>&) override {
    ++calls;
    return answer;
  }
};

TEST(ShellExecute, OutcomesBecomeShellExecuteCodes) {
  test::TestMachine m;
  const Machine& machine = m.host->machine();
  ScriptedLauncher l;
  l.answer = {Status::Exited, 0};
  EXPECT_EQ(shell::shellExecute(machine, &l, "Open", "http://x/"), 42);
  l.answer = {Status::Running, 0};
  EXPECT_EQ(shell::shellExecute(machine, &l, "", "http://x/"), 42);
  l.answer = {Status::Exited, 2};
  EXPECT_EQ(shell::shellExecute(machine, &l, "open", "http://x/"), 2);
  l.answer = {Status::Exited, 4};
  EXPECT_EQ(shell::shellExecute(machine, &l, "open", "http://x/"), 31);
  l.answer = {Status::NotStarted, 0};
  EXPECT_EQ(shell::shellExecute(machine, &l, "open", "http://x/"), 31);
  EXPECT_EQ(l.calls, 5);

  // Neither an unknown verb nor a missing machine file reaches the opener.
  EXPECT_EQ(shell::shellExecute(machine, &l, "print", "http://x/"), 31);
  EXPECT_EQ(shell::shellExecute(machine, &l, "open", "C:\\NOWHERE\\x.htm"), 2);
  EXPECT_EQ(shell::shellExecute(machine, nullptr, "open", "http://x/"), 31);
  EXPECT_EQ(l.calls, 5);
}

struct FixedDisks : sys::DiskMeter {
  std::optional<sys::VolumeSpace> space(const std::filesystem::path&) override {
    return sys::VolumeSpace{3000000000ull, 1000000000ull};
  }
  std::string fileSystemName(const std::filesystem::path&) override { return "FAT32"; }
};

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

class Files : public ::testing::Test {
 protected:
  test::TestMachine m;
  FixedDisks disks;
  FileSystem fso{m.host->machine(), &disks};
};

TEST_F(Files, FilesAreFoundWithoutRegardToCaseAndFoldersAreNotFiles) {
  test::writeFile(m.windows() / "SYSTEM.INI", "12345");
  EXPECT_TRUE(fso.FileExists("C:\\Windows\\System.ini"));
  EXPECT_FALSE(fso.FileExists("C:\\WINDOWS\\SYSTEM"));
  EXPECT_FALSE(fso.FileExists("C:\\WINDOWS\\nothing.ini"));
  EXPECT_FALSE(fso.FileExists(""));
  EXPECT_EQ(fso.FileSize("c:\\windows\\system.ini"), 5.0);
  EXPECT_EQ(errorOf([&] { fso.FileSize("C:\\WINDOWS\\nothing.ini"); }), 53);
}

TEST_F(Files, AReadOnlyFileIsDeletedOnlyWhenForced) {
  const auto file = m.windows() / "Settings.tmp";
  test::writeFile(file, "x");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  EXPECT_EQ(errorOf([&] { fso.DeleteFile("C:\\WINDOWS\\Settings.tmp"); }), 70);
  EXPECT_TRUE(std::filesystem::exists(file));
  fso.DeleteFile("C:\\WINDOWS\\Settings.tmp", true);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(errorOf([&] { fso.DeleteFile("C:\\WINDOWS\\Settings.tmp", true); }), 53);
  EXPECT_EQ(errorOf([&] { fso.DeleteFile("C:\\WINDOWS\\SYSTEM", true); }), 53);
  EXPECT_TRUE(std::filesystem::is_directory(m.windows() / "SYSTEM"));
}

TEST_F(Files, SpecialFoldersAndDrives) {
  EXPECT_EQ(fso.GetSpecialFolder(0), "C:\\WINDOWS");
  EXPECT_EQ(fso.GetSpecialFolder(1), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(fso.GetSpecialFolder(2), "C:\\WINDOWS\\TEMP");
  EXPECT_EQ(errorOf([&] { fso.GetSpecialFolder(3); }), 5);

  const Drive c = fso.GetDrive("c:");
  EXPECT_EQ(c.Path(), "C:");
  EXPECT_EQ(c.TotalSize(), 3e9);
  EXPECT_EQ(c.FreeSpace(), 1e9);
  EXPECT_EQ(c.FileSystem(), "FAT32");
  EXPECT_EQ(fso.GetDrive("C:\\WINDOWS").Path(), "C:");
  EXPECT_EQ(errorOf([&] { fso.GetDrive("D:"); }), 68);
  EXPECT_EQ(errorOf([&] { fso.GetDrive("1:"); }), 5);
  EXPECT_EQ(FileSystem::GetDriveName("C:\\WINDOWS"), "C:");

  const FileSystem blind(m.host->machine(), nullptr);
  EXPECT_EQ(errorOf([&] { blind.GetDrive("C:").TotalSize(); }), 68);
}

}  // namespace
}  // namespace tw
