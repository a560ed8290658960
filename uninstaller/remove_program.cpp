// RemoveProgram: the tuner's traces leave the machine (the tray utility,
// the data files, the Add/Remove Programs entry), then the installer's own
// uninstall program runs to remove the program's files.  Each step is
// attempted even when an earlier one failed.

#include <string>

#include "host/runtime/codepage.h"
#include "host/runtime/guard.h"
#include "host/shell/shell.h"
#include "host/shell/windows.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"
#include "uninstaller/names.h"
#include "uninstaller/split_command.h"
#include "uninstaller/uninst.h"

namespace tw::uninstaller {

namespace {

// A default for ApplicationName that no entry can hold: "*" is never part
// of a file name.
constexpr const char* kNoApplication = "*";

}  // namespace

void Uninst::RemoveProgram() {
  if (context_.previousInstance) {
    End();
    return;
  }

  skipErrors([&] {
    if (context_.windows == nullptr) return;
    const shell::HWND tray = context_.windows->findWindow(kTrayWindowTitle);
    if (tray != 0) context_.windows->postMessage(tray, shell::WM_CLOSE, 0, 0);
  });

  std::string entry;
  for (int i = 1; i <= kUninstallEntries && entry.empty(); ++i) {
    const std::string key = kUninstallKeyPrefix + std::to_string(i);
    skipErrors([&] {
      const Variant name = plinth().GetValue(HKEY_LOCAL_MACHINE, key, "ApplicationName", Variant(kNoApplication));
      if (name.toString() == kTunerFile) entry = key;
    });
  }

  // Read-only files go too: the user may have protected a configuration,
  // but nothing of the program may stay behind.
  for (const char* name : {"Cache.ini", "Settings.1st", "Settings.tmp"}) {
    skipErrors([&] {
      if (fso().FileExists(programFile(name))) fso().DeleteFile(programFile(name), true);
    });
  }

  if (!entry.empty()) skipErrors([&] { plinth().DeleteKey(HKEY_LOCAL_MACHINE, entry); });

  plinth_.reset();
  fso_.reset();

  if (savedUninstall_ != kNoneSaved) {
    skipErrors([&] {
      const CodePage& cp = host().machine().codePage();
      CommandWords words = splitCommand(cp.toAnsi(savedUninstall_));
      shell::startProgram(host().machine(), host().platform().launcher(), words.program, words.arguments,
                          shell::WindowState::MinimizedFocus);
    });
  } else {
    skipErrors([&] {
      dialogs().msgBox("Uninstall complete. Folder " + host().machine().programFolder() + " could not be removed.",
                       MsgBoxStyle::OkOnly | MsgBoxStyle::Information, "Uninstalll Complete");
    });
  }
}

}  // namespace tw::uninstaller
