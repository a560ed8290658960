#pragma once
// Everything a program of this system gets from its platform, set up once by
// the program's main and handed to the system library and the windows: the
// machine being tuned, its registry and profile functions, the settings
// store, the system figures, the shell and the dialogs.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/dialogs/dialogs.h"
#include "host/machine/machine.h"
#include "host/profile/profile.h"
#include "host/registry/registry.h"

namespace tw {

namespace sys {
class Platform;  // host/system/platform.h
}

class Host {
 public:
  // Opens the machine in `root` (making it from the template when missing),
  // its hive and the live platform.  Throws MachineError or reg::HiveError
  // with a message that says what is wrong.
  Host(const std::filesystem::path& root, std::shared_ptr<Dialogs> dialogs,
       std::shared_ptr<sys::Platform> platform = nullptr);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  Machine& machine() { return machine_; }
  reg::Registry& registry() { return *registry_; }
  const Profile& profile() const { return profile_; }
  Dialogs& dialogs() { return *dialogs_; }
  sys::Platform& platform() { return *platform_; }

  void setPlatform(std::shared_ptr<sys::Platform> platform);

  // Lets pending window messages run (the runtime's DoEvents); a no-op until
  // a window system installs its own.
  void doEvents() const {
    if (doEvents_) doEvents_();
  }
  void setDoEvents(std::function<void()> f) { doEvents_ = std::move(f); }
  void setDialogs(std::shared_ptr<Dialogs> dialogs) { dialogs_ = std::move(dialogs); }

  // The host the process's library objects use when created without one
  // (the factory of the shared library).  Set by the program's main.
  static Host* process();
  static void setProcess(Host* host);

 private:
  Machine machine_;
  std::unique_ptr<reg::Registry> registry_;
  Profile profile_;
  std::shared_ptr<Dialogs> dialogs_;
  std::shared_ptr<sys::Platform> platform_;
  std::function<void()> doEvents_;
};

}  // namespace tw
