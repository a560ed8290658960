#pragma once
// Uninst, the Uninstaller's one form.  It is never shown: loading it does all
// the work for the command line it was started with ("/Or" the Windows
// defaults, "/Un" the settings recorded at the tuner's first run, "/U"
// uninstall), after which it unloads itself and the program ends.

#include <memory>
#include <string>

#include "host/files/file_system.h"
#include "host/host.h"
#include "host/settings/settings.h"
#include "ui/forms/form.h"

namespace tw {
class Plinth;
namespace shell {
class WindowRegistry;
}
}  // namespace tw

namespace tw::uninstaller {

// What the running program gives the form.
struct UninstContext {
  Host& host;
  // App.PrevInstance: another Uninstaller already works on this machine.
  bool previousInstance = false;
  // Where the tray utility's window is looked for; null: nothing to close.
  shell::WindowRegistry* windows = nullptr;
  // Command$, exactly as the program was started with it.
  std::string commandLine;
};

class Uninst : public forms::Form {
 public:
  explicit Uninst(UninstContext context);
  ~Uninst() override;

  // The End statement ran: the program is over.
  bool ended() const noexcept { return ended_; }

 private:
  void Form_Load();
  void Form_Unload();
  void RestoreWindowsDefaults();
  void RestoreSnapshot();
  void RemoveProgram();
  void keepSavedUninstall();
  void deleteSettings();
  void End();

  Host& host() { return context_.host; }
  Dialogs& dialogs() { return context_.host.dialogs(); }
  // The system library object, created on first use and released when the
  // form unloads.
  Plinth& plinth();
  FileSystem& fso();
  // A file of the program folder, as a Windows path.
  std::string programFile(const std::string& name) const;
  std::string setting(const char* key, const char* absent) const;

  UninstContext context_;
  SettingsStore settings_;
  std::unique_ptr<Plinth> plinth_;
  std::unique_ptr<FileSystem> fso_;
  // The installer's own uninstall command, read before anything is changed.
  std::string savedUninstall_;
  bool ended_ = false;
};

}  // namespace tw::uninstaller
