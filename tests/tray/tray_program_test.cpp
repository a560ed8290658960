// The tray utility as a program beside the tuner: one per runtime folder,
// and a real second process, registered as "PlinthExe", closed cleanly when
// the tuner starts (its registration removed, not merely killed).

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include "host/shell/close_requests.h"
#include "host/shell/instance.h"
#include "host/shell/own_programs.h"
#include "tests/app/tuner_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/recording_launcher.h"
#include "tray/program.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

TEST(TrayProgram, TheTunerStartingClosesARunningTrayUtilityCleanly) {
  test::TunerMachine t;
  test::TestMachine trayMachine;
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  // The tray utility's life as its main lives it, without the icon.
  const pid_t child = test::spawn([&] {
    shell::CloseRequests closeRequests;
    // A connection to the hive of its own, as a separate program has.
    Host host(trayMachine.root(), std::make_shared<ScriptedDialogs>());
    tray::TrayProgram program(host, t.runtime.path(), nullptr);
    if (write(ready[1], "r", 1) != 1) return 4;
    pollfd wait{closeRequests.fd(), POLLIN, 0};
    return poll(&wait, 1, 20000) == 1 && closeRequests.take() ? 0 : 3;
  });
  close(ready[1]);
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  close(ready[0]);
  ASSERT_NE(t.windows->findWindow("PlinthExe"), 0);

  t.start();
  EXPECT_EQ(test::waitFor(child), 0) << "closed by its own hand, not ended by the signal";
  EXPECT_EQ(t.windows->findWindow("PlinthExe"), 0);
  for (const auto& entry : fs::directory_iterator(t.runtime / "windows"))
    ADD_FAILURE() << "left behind: " << entry.path();
}

TEST(TrayProgram, OnlyTheFirstOnARuntimeFolderRegistersAndWmCloseEndsIt) {
  test::TempDir runtime;
  test::TestMachine a, b;
  int closes = 0;
  {
    tray::TrayProgram first(*a.host, runtime.path(), [&] { ++closes; });
    ASSERT_FALSE(first.previousInstance());
    // Another machine, the same runtime folder: the tuner would find two.
    tray::TrayProgram second(*b.host, runtime.path(), [&] { ++closes; });
    EXPECT_TRUE(second.previousInstance());

    shell::WindowRegistry windows(runtime / "windows");
    const shell::HWND window = windows.findWindow("PlinthExe");
    ASSERT_NE(window, 0);
    EXPECT_TRUE(windows.postMessage(window, shell::WM_CLOSE, 0, 0));
    EXPECT_EQ(closes, 1);
  }
  EXPECT_EQ(shell::WindowRegistry(runtime / "windows").findWindow("PlinthExe"), 0);
  tray::TrayProgram again(*b.host, runtime.path(), nullptr);
  EXPECT_FALSE(again.previousInstance()) << "the lock went with the first";
}

TEST(TrayProgram, OpenTunewellStartsTheTunerOnTheSameMachineAndRuntimeFolder) {
  test::TestMachine m;
  test::TempDir runtime;
  auto launcher = std::make_shared<test::RecordingLauncher>();
  auto platform = std::make_shared<sys::Platform>();
  platform->setLauncher(launcher);
  m.host->setPlatform(platform);
  shell::setOwnProgramFolder("/opt/tw/bin");
  shell::setRuntimeFolder(runtime.path());
  tray::TrayProgram program(*m.host, {}, nullptr);
  EXPECT_TRUE(program.openTuner());
  shell::setRuntimeFolder({});
  shell::setOwnProgramFolder({});
  ASSERT_EQ(launcher->starts.size(), 1u);
  EXPECT_EQ(launcher->starts[0].first,
            (std::vector<std::string>{"/opt/tw/bin/tunewell", "--machine", fs::absolute(m.root()).string(), "--runtime",
                                      fs::absolute(runtime.path()).string()}));
}

}  // namespace
}  // namespace tw
