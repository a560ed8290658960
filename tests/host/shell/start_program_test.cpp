// Starting programs without a shell, and ShellExecute's outcome codes.

#include <gtest/gtest.h>

#include <chrono>

#include "host/shell/shell.h"

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
  EXPECT_EQ(shell::SpawnLauncher(50ms).launch({"sleep", "2"}).status, Status::Running);  // still running: started
}

}  // namespace
}  // namespace tw
