#pragma once
// plinthctl: calls any public method of the system library by name and prints
// the result exactly, so that the library can be scripted and inspected.

#include <string>
#include <vector>

namespace tw::ctl {

extern const char* const kUsage;

// Runs one command (the arguments after the program's name) and returns the
// exit status: 0 done, 1 failed, 2 bad usage.  Results go to standard
// output, errors and the message boxes shown to standard error.
int run(std::vector<std::string> args);

}  // namespace tw::ctl
