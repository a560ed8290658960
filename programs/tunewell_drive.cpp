// tunewell-drive: the tuner run headless from a script, for end-to-end
// tests and for support.

#include <iostream>

#include "app/driver/driver.h"
#include "programs/command_line.h"

int main(int argc, char** argv) {
  const tw::programs::ProgramOptions options{
      "tunewell-drive", tw::app::drive::kUsage, {{"--machine", true}, {"--runtime", true}}};
  if (auto status = tw::programs::answerCommonOptions(options, {argv + 1, argv + argc}, std::cout, std::cerr)) {
    return *status;
  }
  return tw::app::drive::main(argc, argv, std::cin, std::cout, std::cerr);
}
