// What every program answers before it does anything: which arguments are
// taken for options, and where the options end.

#include <gtest/gtest.h>

#include <sstream>

#include "programs/command_line.h"

namespace tw::programs {
namespace {

struct Answer {
  std::optional<int> status;
  std::string out, err;
};

Answer answer(const ProgramOptions& options, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const std::optional<int> status = answerCommonOptions(options, args, out, err);
  return {status, out.str(), err.str()};
}

const ProgramOptions kCtl{"ctl", "usage: ctl [--machine DIR] [--quiet] METHOD [ARG...]\n",
                          {{"--machine", true}, {"--quiet", false}}};

TEST(CommonOptions, KnownOptionsAndTheirValuesGoOnToTheProgram) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"--machine", "--odd dir", "--quiet", "Get"}, {"--machine=/m", "Get", "--not-ours"}, {"-", "--x"}}) {
    const Answer a = answer(kCtl, args);
    EXPECT_FALSE(a.status) << (args.empty() ? "" : args[0]);
    EXPECT_EQ(a.out + a.err, "");
  }
}

// Each built program's plain --help and --version are run by programs_test.
TEST(CommonOptions, HelpAndVersionAnswerWhereverTheyStandAmongTheOptions) {
  const Answer h = answer(kCtl, {"--quiet", "-h"});
  EXPECT_EQ(h.status, 0);
  EXPECT_EQ(h.out, kCtl.usage);
  const Answer v = answer(kCtl, {"--version", "--bogus"});
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, std::string("ctl ") + TW_VERSION + "\n");
  // After the first operand, "--help" is an argument of the method.
  EXPECT_FALSE(answer(kCtl, {"Get", "--help"}).status);
}

TEST(CommonOptions, AnUnknownOptionIsNamedWithoutItsValue) {
  const Answer a = answer(kCtl, {"--quiet", "--colour=red", "Get"});
  EXPECT_EQ(a.status, kUsageError);
  EXPECT_EQ(a.out, "");
  EXPECT_EQ(a.err, "ctl: unknown option --colour (ctl --help lists the options)\n");
  // A misspelt known option is no prefix match.
  EXPECT_EQ(answer(kCtl, {"--machin", "/m"}).status, kUsageError);
}

TEST(CommonOptions, AProgramTakingOptionsAnywhereChecksThemAll) {
  ProgramOptions anywhere = kCtl;
  anywhere.optionsAnywhere = true;
  EXPECT_FALSE(answer(anywhere, {"/Ns", "--quiet", "-style", "windows"}).status);
  EXPECT_EQ(answer(anywhere, {"/Ns", "--bogus"}).status, kUsageError);
  EXPECT_EQ(answer(anywhere, {"/Ns", "--help"}).status, 0);
}

}  // namespace
}  // namespace tw::programs
