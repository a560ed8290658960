// plinthctl: the system library from the command line.

#include <iostream>

#include "programs/command_line.h"
#include "syslib/ctl/command.h"

int main(int argc, char** argv) {
  const tw::programs::ProgramOptions options{
      "plinthctl", tw::ctl::kUsage, {{"--machine", true}, {"--escapes", false}, {"--answer", true}}};
  std::vector<std::string> args(argv + 1, argv + argc);
  if (auto status = tw::programs::answerCommonOptions(options, args, std::cout, std::cerr)) return *status;
  return tw::ctl::run(std::move(args));
}
