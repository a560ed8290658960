#pragma once
// A program start that starts nothing and keeps what it was asked to start,
// so that tests read the exact argument vector and window state.  Every start
// answers `answer`: by default the program started and is still running.

#include <string>
#include <utility>
#include <vector>

#include "host/shell/shell.h"

namespace tw::test {

struct RecordingLauncher : shell::Launcher {
  std::vector<std::pair<std::vector<std::string>, shell::WindowState>> starts;
  shell::LaunchResult answer{shell::LaunchResult::Status::Running, 0};
  shell::LaunchResult launch(const std::vector<std::string>& argv) override {
    return start(argv, shell::WindowState::Hide);
  }
  shell::LaunchResult start(const std::vector<std::string>& argv, shell::WindowState state) override {
    starts.emplace_back(argv, state);
    return answer;
  }
};

}  // namespace tw::test
