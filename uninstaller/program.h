#pragma once
// The Uninstaller as a running program, without any toolkit: its instance
// lock and window registry, and its form, loaded once.  A front end makes a
// Host (with the dialogs it shows boxes through), builds an
// UninstallerProgram and calls run():
//
//   tw::Host host(machineRoot, dialogs);
//   UninstallerProgram program(host, "/Un");
//   program.run();

#include <filesystem>
#include <memory>
#include <string>

#include "uninstaller/uninst.h"

namespace tw::shell {
class InstanceLock;
class WindowRegistry;
}  // namespace tw::shell

namespace tw::uninstaller {

class UninstallerProgram {
 public:
  // `runtimeFolder` holds the instance lock and the window registrations;
  // empty means the per-user runtime folder.  When that folder cannot be
  // used the program still runs, without the previous-instance check and
  // without closing the tray utility.
  UninstallerProgram(Host& host, std::string commandLine, std::filesystem::path runtimeFolder = {});
  ~UninstallerProgram();
  UninstallerProgram(const UninstallerProgram&) = delete;
  UninstallerProgram& operator=(const UninstallerProgram&) = delete;

  // Loads the form, which does all the work and unloads itself.
  void run();
  Uninst& form() { return *form_; }

 private:
  std::unique_ptr<shell::InstanceLock> lock_;
  std::unique_ptr<shell::WindowRegistry> windows_;
  std::unique_ptr<Uninst> form_;
};

}  // namespace tw::uninstaller
