// The stand-ins of this system's programs: only a file whose first line
// names one of them starts it, on the caller's machine; any other file of
// the machine is started as itself.

#include <gtest/gtest.h>

#include "host/shell/instance.h"
#include "host/shell/own_programs.h"
#include "host/shell/shell.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

struct Recording : shell::Launcher {
  std::vector<std::vector<std::string>> starts;
  shell::LaunchResult launch(const std::vector<std::string>& argv) override {
    starts.push_back(argv);
    return {shell::LaunchResult::Status::Running, 0};
  }
};

TEST(OwnPrograms, AStandInRunsTheNamedProgramOnTheSameMachineAndNothingElseDoes) {
  test::TestMachine m;
  shell::setOwnProgramFolder("/opt/tw/bin");
  Recording launcher;
  auto start = [&](const std::string& bytes) {
    test::writeFile(m.windows() / "X.EXE", bytes);
    shell::startProgram(m.host->machine(), &launcher, "C:\\WINDOWS\\X.EXE", {"/Un", "a b"},
                        shell::WindowState::NormalFocus);
    return launcher.starts.back();
  };
  const std::string root = std::filesystem::absolute(m.root()).string();
  EXPECT_EQ(start("Tunewell program: tunewell-uninstall\r\nmore text\r\n"),
            (std::vector<std::string>{"/opt/tw/bin/tunewell-uninstall", "--machine", root, "/Un", "a b"}));
  EXPECT_EQ(start("Tunewell program: tunewell-tray\n"),
            (std::vector<std::string>{"/opt/tw/bin/tunewell-tray", "--machine", root, "/Un", "a b"}));

  // Not one of ours, not the first line, not the whole line, no line at all.
  const std::string itself = (m.windows() / "X.EXE").string();
  for (const std::string bytes : {"Tunewell program: sh\r\n", "MZ\r\nTunewell program: tunewell-tray\r\n",
                                  "Tunewell program: tunewell-tray -c x\r\n", "Tunewell program: tunewell-tray", ""}) {
    EXPECT_EQ(start(bytes), (std::vector<std::string>{itself, "/Un", "a b"})) << bytes;
  }
  shell::setOwnProgramFolder({});
}

TEST(OwnPrograms, AStandInRunsTheProgramWithTheRuntimeFolderItsCallerWasGiven) {
  test::TestMachine m;
  test::TempDir runtime;
  shell::setOwnProgramFolder("/opt/tw/bin");
  test::writeFile(m.windows() / "PLINTH.EXE", "Tunewell program: tunewell-tray\r\n");
  Recording launcher;
  const auto start = [&] {
    shell::startProgram(m.host->machine(), &launcher, "C:\\WINDOWS\\PLINTH.EXE", {"/Tray"},
                        shell::WindowState::MinimizedFocus);
    return launcher.starts.back();
  };
  const std::string root = std::filesystem::absolute(m.root()).string();
  // Without one, both use the per-user folder.
  EXPECT_EQ(start(), (std::vector<std::string>{"/opt/tw/bin/tunewell-tray", "--machine", root, "/Tray"}));
  shell::setRuntimeFolder(runtime.path());
  EXPECT_EQ(start(), (std::vector<std::string>{"/opt/tw/bin/tunewell-tray", "--machine", root, "--runtime",
                                               std::filesystem::absolute(runtime.path()).string(), "/Tray"}));
  EXPECT_EQ(shell::runtimeFolder(), std::filesystem::absolute(runtime.path()));
  shell::setRuntimeFolder({});
  shell::setOwnProgramFolder({});
}

}  // namespace
}  // namespace tw
