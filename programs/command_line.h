#pragma once
// The options every program of the system answers the same way: --help
// (or -h) prints the usage on standard output, --version the program's name
// and version, and an option the program does not know is named in an
// error on standard error.  Each program says which options it knows; what
// they do stays with the program.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tw::programs {

constexpr int kUsageError = 2;

struct KnownOption {
  std::string_view name;    // "--machine"
  bool takesValue = false;  // "--machine DIR" or "--machine=DIR"
};

struct ProgramOptions {
  std::string_view program;  // "plinthctl"
  std::string_view usage;    // the whole usage text, ending in a newline
  std::vector<KnownOption> known;
  // Whether options may follow the first operand.  Most programs pass what
  // follows it on as is (a method's arguments, the tuner's command line);
  // the tuner takes its options from anywhere, as Qt does.
  bool optionsAnywhere = false;
};

// Answers --help, --version and unknown options.  Returns the exit status
// when the program should end at once (0, or kUsageError after naming the
// unknown option), and nothing when it should go on.
std::optional<int> answerCommonOptions(const ProgramOptions& options, const std::vector<std::string>& args,
                                       std::ostream& out, std::ostream& err);

// Takes the first "NAME VALUE" or "NAME=VALUE" off `args` and returns VALUE;
// nothing when `args` holds neither.
std::optional<std::string> takeOptionValue(std::vector<std::string>& args, std::string_view name);

}  // namespace tw::programs
