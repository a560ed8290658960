#include "tray/program.h"

#include <stdexcept>

#include "app/settings/shared_names.h"
#include "host/host.h"
#include "host/settings/settings.h"
#include "host/shell/instance.h"
#include "host/shell/own_programs.h"
#include "host/shell/shell.h"
#include "host/system/platform.h"

namespace tw::tray {

namespace fs = std::filesystem;

namespace {

// One lock for the whole runtime folder, whatever machine each copy shows:
// the tuner closes the one window of that title it finds.
constexpr const char* kLockName = "tunewell-tray";

}  // namespace

TrayProgram::TrayProgram(Host& host, fs::path runtimeFolder, std::function<void()> onClose)
    : host_(host),
      preferences_(readTrayPreferences(SettingsStore(host.registry(), host.machine().codePage()))),
      meter_(host) {
  if (runtimeFolder.empty()) runtimeFolder = shell::runtimeFolder();
  shell::ensurePrivateFolder(runtimeFolder);
  lock_ = std::make_unique<shell::InstanceLock>(runtimeFolder, kLockName);
  if (!lock_->held()) {
    if (lock_->previousInstance()) return;
    throw std::runtime_error("cannot take the lock " + (runtimeFolder / kLockName).string());
  }
  windows_ = std::make_unique<shell::WindowRegistry>(runtimeFolder / "windows");
  window_ = windows_->registerWindow(app::kTrayWindowTitle, [close = std::move(onClose)](uint32_t message, uint64_t, int64_t) {
    if (message == shell::WM_CLOSE && close) close();
  });
}

// The window goes before the registry and the lock that make it the only one.
TrayProgram::~TrayProgram() { window_.reset(); }

bool TrayProgram::openTuner() {
  shell::Launcher* launcher = host_.platform().launcher();
  if (launcher == nullptr) return false;
  const shell::LaunchResult r =
      launcher->start(shell::ownProgramCommand("tunewell", host_.machine()), shell::WindowState::NormalFocus);
  return r.status != shell::LaunchResult::Status::NotStarted;
}

}  // namespace tw::tray
