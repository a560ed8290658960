// Each built program answers --help, --version and an unknown option the
// same way, whether or not there is a display: a user without one still
// gets the usage, and nothing starts or touches a machine.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

std::vector<std::string> programs() {
  std::vector<std::string> files;
  std::stringstream list(TW_PROGRAMS);
  for (std::string file; std::getline(list, file, ':');) files.push_back(file);
  return files;
}

struct Outcome {
  int status;
  std::string out, err;
};

class Programs : public ::testing::TestWithParam<bool> {
 protected:
  tw::test::TempDir dir;

  // Runs the program with a display (Qt's offscreen one) or with none, and
  // with a machine that must not be made.
  Outcome run(const std::string& program, const std::string& arg) {
    const std::string display = GetParam() ? "QT_QPA_PLATFORM=offscreen" : "-u QT_QPA_PLATFORM";
    const std::string errFile = (dir / "stderr.txt").string();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + display + " TUNEWELL_MACHINE='" +
                                (dir / "machine").string() + "' '" + program + "' " + arg + " 2>'" + errFile + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, tw::test::readFile(errFile)};
  }
};

TEST_P(Programs, AnswerHelpVersionAndUnknownOptions) {
  ASSERT_GE(programs().size(), 1u);
  for (const std::string& program : programs()) {
    const std::string name = std::filesystem::path(program).filename().string();
    SCOPED_TRACE(name);

    const Outcome help = run(program, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: " + name + " ", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");

    const Outcome version = run(program, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, name + " " + TW_VERSION + "\n");
    EXPECT_EQ(version.err, "");

    const Outcome unknown = run(program, "--no-such-option");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find(name + ": unknown option --no-such-option"), std::string::npos) << unknown.err;

    EXPECT_FALSE(std::filesystem::exists(dir / "machine"));
  }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutADisplay, Programs, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Display" : "NoDisplay"; });

}  // namespace
