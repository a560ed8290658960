#pragma once
// A command line as Windows keeps it in an uninstall entry
// ("C:\WINDOWS\ST6UNST.EXE -n "C:\Program Files\Tunewell\ST6UNST.LOG""),
// split into the program and its arguments, so that it can be started
// without a command shell.

#include <string>
#include <string_view>
#include <vector>

namespace tw::uninstaller {

struct CommandWords {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const CommandWords&) const = default;
};

// Words are separated by blanks (spaces and tabs); a double quote starts or
// ends a quoted stretch, in which blanks belong to the word, and "" inside
// one stands for a quote itself.  The quotes themselves are not kept.
CommandWords splitCommand(std::string_view commandLine);

}  // namespace tw::uninstaller
