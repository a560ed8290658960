// Windows programs of the machine through Wine: which files count as
// programs, the prefix that makes the machine Wine's C: drive, and the
// argument vector reaching Wine untouched by any shell.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "host/shell/wine.h"
#include "tests/support/errors.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::readFile;
using test::writeFile;

struct ScopedPath {
  std::string old = std::getenv("PATH") ? std::getenv("PATH") : "";
  explicit ScopedPath(const std::string& path) { setenv("PATH", path.c_str(), 1); }
  ~ScopedPath() { setenv("PATH", old.c_str(), 1); }
};

// The file `done` once it holds something, waiting for a started program.
std::string awaited(const fs::path& done) {
  for (int i = 0; i < 500 && !fs::exists(done); ++i) std::this_thread::sleep_for(10ms);
  return fs::exists(done) ? readFile(done) : "(never written)";
}

struct Wine : ::testing::Test {
  test::TestMachine m;
  test::TempDir bin;
  shell::SpawnLauncher launcher{0ms};
  const Machine& machine() { return m.host->machine(); }
};

TEST_F(Wine, OnlyAFileWithTheSignatureIsAWindowsProgram) {
  writeFile(m.windows() / "REAL.EXE", "MZ\x90");
  writeFile(m.windows() / "STANDIN.EXE", "This file stands in for the Windows program.");
  writeFile(m.windows() / "SHORT.EXE", "M");
  EXPECT_TRUE(shell::isWindowsProgram(m.windows() / "REAL.EXE"));
  EXPECT_FALSE(shell::isWindowsProgram(m.windows() / "STANDIN.EXE"));
  EXPECT_FALSE(shell::isWindowsProgram(m.windows() / "SHORT.EXE"));
  EXPECT_FALSE(shell::isWindowsProgram(m.windows() / "MISSING.EXE"));

  ScopedPath path(bin.path().string());  // whatever the host has, no Wine here
  EXPECT_FALSE(shell::findWine());
  for (const char* file : {"C:\\WINDOWS\\STANDIN.EXE", "C:\\WINDOWS\\MISSING.EXE", "C:\\WINDOWS\\REAL.EXE"})
    EXPECT_EQ(test::errorOf([&] { shell::startWithWine(machine(), &launcher, file, {}, shell::WindowState::NormalFocus); }),
              53)
        << file;
  // The hidden folder is not on the drive, even for a real program.
  writeFile(m.root() / ".tunewell" / "HIDDEN.EXE", "MZ");
  writeFile(bin / "wine", "#!/bin/sh\n");
  ::chmod((bin / "wine").c_str(), 0755);
  EXPECT_EQ(test::errorOf([&] {
              shell::startWithWine(machine(), &launcher, "C:\\.tunewell\\HIDDEN.EXE", {}, shell::WindowState::NormalFocus);
            }),
            53);
}

TEST_F(Wine, WineGetsTheMachineAsCAndEveryArgumentWhole) {
  // A stand-in Wine that writes down its prefix and arguments, one a line.
  const fs::path record = bin / "record";
  writeFile(bin / "wine", "#!/bin/sh\n{ printf '%s\\n' \"$WINEPREFIX\"; for a; do printf '[%s]\\n' \"$a\"; done; } > \"" +
                              (bin / "partial").string() + "\"\nmv \"" + (bin / "partial").string() + "\" \"" +
                              record.string() + "\"\n");
  ::chmod((bin / "wine").c_str(), 0755);
  ScopedPath path(bin.path().string() + ":/usr/bin:/bin");
  ASSERT_EQ(shell::findWine(), bin / "wine");

  // Were it read by a shell, the name would make a file in the current folder.
  const std::string hostile = "$(touch tw-wine-ran); `id` 'a b' \"q\".exe";
  fs::create_directories(m.windows() / "Sub Dir");
  writeFile(m.windows() / "Sub Dir" / hostile, "MZ");
  shell::startWithWine(machine(), &launcher, "c:\\windows\\sub dir\\" + hostile, {"/x y"}, shell::WindowState::NormalFocus);
  const std::string prefix = (m.root() / ".tunewell" / "wine").string();
  EXPECT_EQ(awaited(record), prefix + "\n[C:\\WINDOWS\\Sub Dir\\" + hostile + "]\n[/x y]\n")
      << "the path in the case the machine has it, one argument";
  EXPECT_FALSE(fs::exists("tw-wine-ran")) << "no shell read the path";
  EXPECT_EQ(fs::read_symlink(fs::path(prefix) / "dosdevices" / "c:"), fs::absolute(m.root()));

  fs::remove(record);
  writeFile(m.windows() / "SYSTEM" / "DESK.CPL", "MZ");
  shell::startAppletWithWine(machine(), &launcher, "C:\\WINDOWS\\SYSTEM\\DESK.CPL", shell::WindowState::MinimizedFocus);
  EXPECT_EQ(awaited(record), prefix + "\n[rundll32.exe]\n[shell32.dll,Control_RunDLL]\n[C:\\WINDOWS\\SYSTEM\\DESK.CPL]\n");
}

// Where Wine is installed, one of its own programs runs from the machine.
TEST_F(Wine, ARealProgramRunsWhereWineIsInstalled) {
  const auto wine = shell::findWine();
  if (!wine) GTEST_SKIP() << "Wine is not installed on this host; the launch through Wine is not tried";
  std::optional<fs::path> program;
  for (const char* folder : {"/usr/lib/wine/x86_64-windows", "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows",
                             "/usr/lib/wine/i386-windows", "/usr/lib/i386-linux-gnu/wine/i386-windows"})
    if (fs::exists(fs::path(folder) / "hostname.exe")) program = fs::path(folder) / "hostname.exe";
  if (!program) GTEST_SKIP() << "Wine is installed but none of its programs was found to copy into the machine";
  fs::copy_file(*program, m.windows() / "HOSTNAME.EXE");
  EXPECT_NE(shell::startWithWine(machine(), &launcher, "C:\\WINDOWS\\HOSTNAME.EXE", {}, shell::WindowState::Hide), 0);
}

}  // namespace
}  // namespace tw
