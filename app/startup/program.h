#pragma once
// The tuner as a running program, without any toolkit: the instance lock,
// the window registry, the main window and the splash window, started the
// way the program starts.  A front end (Qt, or the scripted driver) makes a
// Host and an Environment, builds a TunerProgram, calls start(), and then
// runs its message loop until finished():
//
//   auto args = takeProgramArgs({argv + 1, argv + argc});
//   tw::Host host(args.machineRoot, dialogs);
//   TunerProgram program(host, environment, args.commandLine);
//   program.start();
//   while (!program.finished()) { ...one round of the message loop... }

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/form1.h"
#include "app/ui/frm_splash.h"

namespace tw::shell {
class InstanceLock;
class WindowRegistry;
}  // namespace tw::shell

namespace tw::app {

// The program's arguments with the host's own options taken off: the
// machine folder ("--machine DIR", "--machine=DIR", else $TUNEWELL_MACHINE,
// else the default machine) and the command line the program itself sees
// (the remaining arguments joined by single blanks, as Command$ gives them).
struct ProgramArgs {
  std::filesystem::path machineRoot;
  std::string commandLine;
};
ProgramArgs takeProgramArgs(std::vector<std::string> args);

class TunerProgram {
 public:
  // `runtimeFolder` holds the instance lock and the window registrations;
  // empty means the per-user runtime folder.  When that folder cannot be
  // used the program still runs, without the previous-instance check and
  // without closing the tray utility.
  TunerProgram(Host& host, forms::Environment& environment, std::string commandLine,
               std::filesystem::path runtimeFolder = {});
  ~TunerProgram();
  TunerProgram(const TunerProgram&) = delete;
  TunerProgram& operator=(const TunerProgram&) = delete;

  Form1& main() { return *main_; }
  frmSplash& splash() { return *splash_; }
  shell::WindowRegistry* windows() { return windows_.get(); }

  // Loads the splash window: start-up runs, then the splash picture or the
  // main window shows.
  void start();
  // The program is over: End ran during start-up, or the main window has
  // been unloaded since.
  bool finished() const;

 private:
  std::unique_ptr<shell::InstanceLock> lock_;
  std::unique_ptr<shell::WindowRegistry> windows_;
  std::unique_ptr<Form1> main_;
  std::unique_ptr<frmSplash> splash_;
  bool started_ = false;
};

}  // namespace tw::app
