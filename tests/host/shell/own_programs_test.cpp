// The stand-ins of this system's programs: only a file whose first line
// names one of them starts it, on the caller's machine and runtime folder;
// any other file of the machine is started as itself.

#include <gtest/gtest.h>

#include "host/shell/instance.h"
#include "host/shell/own_programs.h"
#include "host/shell/shell.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/recording_launcher.h"

namespace tw {
namespace {

using Argv = std::vector<std::string>;

struct OwnPrograms : ::testing::Test {
  test::TestMachine m;
  test::RecordingLauncher launcher;
  const std::string root = std::filesystem::absolute(m.root()).string();
  OwnPrograms() { shell::setOwnProgramFolder("/opt/tw/bin"); }
  ~OwnPrograms() override {
    shell::setRuntimeFolder({});
    shell::setOwnProgramFolder({});
  }
  Argv start(const std::string& bytes) {
    test::writeFile(m.windows() / "X.EXE", bytes);
    shell::startProgram(m.host->machine(), &launcher, "C:\\WINDOWS\\X.EXE", {"/Un", "a b"},
                        shell::WindowState::NormalFocus);
    return launcher.starts.back().first;
  }
};

TEST_F(OwnPrograms, AStandInRunsTheNamedProgramOnTheSameMachineAndNothingElseDoes) {
  EXPECT_EQ(start("Tunewell program: tunewell-uninstall\r\nmore text\r\n"),
            (Argv{"/opt/tw/bin/tunewell-uninstall", "--machine", root, "/Un", "a b"}));
  EXPECT_EQ(start("Tunewell program: tunewell-tray\n"), (Argv{"/opt/tw/bin/tunewell-tray", "--machine", root, "/Un", "a b"}));

  // Not one of ours, not the first line, not the whole line, no line at all.
  const std::string itself = (m.windows() / "X.EXE").string();
  for (const std::string bytes : {"Tunewell program: sh\r\n", "MZ\r\nTunewell program: tunewell-tray\r\n",
                                  "Tunewell program: tunewell-tray -c x\r\n", "Tunewell program: tunewell-tray", ""}) {
    EXPECT_EQ(start(bytes), (Argv{itself, "/Un", "a b"})) << bytes;
  }
}

TEST_F(OwnPrograms, AStandInRunsTheProgramWithTheRuntimeFolderItsCallerWasGiven) {
  test::TempDir runtime;
  shell::setRuntimeFolder(runtime.path());
  const std::string folder = std::filesystem::absolute(runtime.path()).string();
  EXPECT_EQ(start("Tunewell program: tunewell-tray\r\n"),
            (Argv{"/opt/tw/bin/tunewell-tray", "--machine", root, "--runtime", folder, "/Un", "a b"}));
  EXPECT_EQ(shell::runtimeFolder(), std::filesystem::absolute(runtime.path()));
}

}  // namespace
}  // namespace tw
