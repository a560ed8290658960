#pragma once
// The tray utility as a running program, without any toolkit: one copy per
// runtime folder, its window "PlinthExe" registered so that the tuner and
// the Uninstaller can find it and close it, its preferences and its meter.
// A front end builds a TrayProgram after its Host, ends at once when
// previousInstance(), and otherwise shows read() every interval until its
// window is closed.

#include <filesystem>
#include <functional>
#include <memory>

#include "host/shell/windows.h"
#include "tray/meter.h"
#include "tray/preferences.h"

namespace tw {
class Host;
}

namespace tw::shell {
class InstanceLock;
}

namespace tw::tray {

class TrayProgram {
 public:
  // `runtimeFolder` holds the lock and the window registration; empty means
  // the runtime folder of the process (shell::runtimeFolder()).  `onClose`
  // runs when a window of this process posts the tray window WM_CLOSE (from
  // another process it arrives as shell::CloseRequests).  Throws
  // std::exception when the folder cannot be used: a tray utility that the
  // tuner cannot find would show its gauge beside the tuner's.
  TrayProgram(Host& host, std::filesystem::path runtimeFolder, std::function<void()> onClose);
  ~TrayProgram();
  TrayProgram(const TrayProgram&) = delete;
  TrayProgram& operator=(const TrayProgram&) = delete;

  // Another tray utility runs on this runtime folder; this one registered
  // nothing and should end.
  bool previousInstance() const { return window_ == nullptr; }

  const TrayPreferences& preferences() const { return preferences_; }
  TrayReading read() { return meter_.read(preferences_.measure); }

  // Starts the tuner on the same machine and runtime folder; false when it
  // could not be started.  The tuner closes this program as it starts.
  bool openTuner();

 private:
  Host& host_;
  std::unique_ptr<shell::InstanceLock> lock_;
  std::unique_ptr<shell::WindowRegistry> windows_;
  std::unique_ptr<shell::WindowRegistry::Window> window_;
  TrayPreferences preferences_;
  TrayMeter meter_;
};

}  // namespace tw::tray
