// Finding the tray utility's window and asking it to close, within this
// process and across processes, and the previous-instance lock.  Only
// programs that registered a window can be found or signalled.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "host/shell/instance.h"
#include "host/shell/windows.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace tw {
namespace {

using shell::WindowRegistry;

struct TopLevelWindows : ::testing::Test {
  test::TempDir dir;
  WindowRegistry registry{dir / "windows"};
};

TEST_F(TopLevelWindows, AWindowIsFoundByTitleUntilItGoes) {
  std::vector<uint32_t> received;
  auto window = registry.registerWindow("PlinthExe", [&](uint32_t m, uint64_t, int64_t) { received.push_back(m); });
  const shell::HWND found = registry.findWindow("PLINTHEXE");
  ASSERT_EQ(found, window->handle());
  EXPECT_EQ(registry.findWindow("PlinthExe2"), 0);
  EXPECT_TRUE(registry.postMessage(found, shell::WM_CLOSE, 0, 0));
  EXPECT_EQ(received, std::vector<uint32_t>{shell::WM_CLOSE});

  window.reset();
  EXPECT_EQ(registry.findWindow("PlinthExe"), 0);
  EXPECT_FALSE(registry.postMessage(found, shell::WM_CLOSE, 0, 0));
}

TEST_F(TopLevelWindows, WmCloseReachesAnotherProgramAsTermination) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = test::spawn([&] {
    WindowRegistry own(dir / "windows");
    auto window = own.registerWindow("PlinthExe", nullptr);
    if (write(ready[1], "r", 1) != 1) return 3;
    for (;;) pause();
  });
  close(ready[1]);
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  close(ready[0]);
  const shell::HWND window = registry.findWindow("PlinthExe");
  ASSERT_NE(window, 0);
  EXPECT_TRUE(registry.postMessage(window, shell::WM_CLOSE, 0, 0));
  EXPECT_EQ(test::waitFor(child), 100 + SIGTERM);
  // The dead program's registration is recognised and dropped.
  EXPECT_EQ(registry.findWindow("PlinthExe"), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "windows"));
}

TEST_F(TopLevelWindows, ARegistrationThatIsNotItsOwnersIsNeverSignalled) {
  // Our parent is alive, but it did not write this registration (its start
  // time differs), as when a dead program's id has been reused.
  const pid_t parent = getppid();
  const shell::HWND forged = (static_cast<int64_t>(parent) << 20) | 1;
  std::ofstream(dir / "windows" / (std::to_string(parent) + "-1.window")) << "1\nPlinthExe\n";
  EXPECT_EQ(registry.findWindow("PlinthExe"), 0);
  EXPECT_FALSE(registry.postMessage(forged, shell::WM_CLOSE, 0, 0));
  EXPECT_FALSE(registry.postMessage(0, shell::WM_CLOSE, 0, 0));
}

TEST_F(TopLevelWindows, ARuntimeFolderOthersCouldWriteIsRefused) {
  std::filesystem::create_directory(dir / "open");
  chmod((dir / "open").c_str(), 0777);
  EXPECT_THROW(WindowRegistry(dir / "open"), std::runtime_error);
  std::filesystem::create_directory(dir / "real");
  chmod((dir / "real").c_str(), 0700);
  std::filesystem::create_directory_symlink(dir / "real", dir / "link");
  EXPECT_THROW(WindowRegistry(dir / "link"), std::runtime_error);
}

TEST(PreviousInstance, OnlyTheFirstHolderIsNotAPreviousInstance) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "machine");
  const std::string name = shell::InstanceLock::nameFor("tunewell", dir / "machine");
  EXPECT_EQ(name, shell::InstanceLock::nameFor("tunewell", dir / "machine" / "." / ".." / "machine"));
  EXPECT_NE(name, shell::InstanceLock::nameFor("tunewell", dir / "other"));
  {
    shell::InstanceLock first(dir.path(), name);
    EXPECT_TRUE(first.held());
    EXPECT_FALSE(first.previousInstance());
    shell::InstanceLock second(dir.path(), name);
    EXPECT_TRUE(second.previousInstance());
    EXPECT_FALSE(second.held());
    shell::InstanceLock elsewhere(dir.path(), shell::InstanceLock::nameFor("tunewell", dir / "other"));
    EXPECT_FALSE(elsewhere.previousInstance());
  }
  shell::InstanceLock again(dir.path(), name);
  EXPECT_FALSE(again.previousInstance()) << "the lock goes with its holder";
}

TEST(PreviousInstance, AFolderThatCannotHoldTheLockLetsTheProgramRun) {
  test::TempDir dir;
  shell::InstanceLock lock(dir / "missing", "x.lock");
  EXPECT_FALSE(lock.previousInstance());
  EXPECT_FALSE(lock.held());
}

}  // namespace
}  // namespace tw
