#pragma once
// The scripted driver: runs the real tuner headless against a machine,
// performs the user actions of a small script by control name, answers the
// message boxes from the script, and prints what was shown.  The script
// language is described in the README ("Driving the tuner from a script").

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>

namespace tw::sys {
class Platform;
}

namespace tw::app::drive {

struct Options {
  std::filesystem::path machineRoot;
  // The tuner's own command line ("/Ns" ...).
  std::string commandLine;
  // Where the instance lock and the window registrations live; empty: the
  // per-user runtime folder, as the program uses it.
  std::filesystem::path runtimeFolder;
  // The system figures; null: the live figures of this host.
  std::shared_ptr<sys::Platform> platform;
};

// Exit statuses.
constexpr int kOk = 0;
constexpr int kFailed = 1;       // an unanswered message box, a run-time error, an unusable machine
constexpr int kScriptError = 2;  // the script or the command line is wrong

// Runs `script` against a fresh start of the tuner.  Every message box is
// printed on `out` as it is shown, then the lines of each print command;
// what went wrong goes to `err`.
int run(std::istream& script, std::ostream& out, std::ostream& err, const Options& options);

// tunewell-drive [--machine DIR] [--runtime DIR] [SCRIPT|-] [TUNER-ARGS...]
int main(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

// The usage text, which --help prints.
extern const char* const kUsage;

}  // namespace tw::app::drive
