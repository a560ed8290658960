// Leaving the tuner.  "Ok", "Cancel", the close box and the Restore command
// all end in Form_QueryUnload and then Form_Unload.  Both skip any step that
// fails: the program must end whatever the machine lets it write.

#include <array>

#include "app/ui/form1.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "host/shell/shell.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"

namespace tw::app {

namespace {

using catalogue::kRunKey;

}  // namespace

std::string Form1::trayCommandLine() const { return programFile("Plinth.exe") + " " + kTraySwitch; }

void Form1::Command1_Click() {
  reportErrors(dialogs(), "Form1.Command1_Click", [&] {
    // The user may go back to the window from the question about the cache.
    if (!ApplyIfChanged()) return;
    unload();
  });
}

void Form1::cEx_Click() { unload(); }

void Form1::Form_QueryUnload(bool& /*cancel*/, forms::UnloadMode /*mode*/) {
  // The user sees the window close at once, whatever the exit still does.
  skipErrors([&] { hide(); });
  // The Uninstaller is taking over: it removes the preferences and the
  // tray utility's entry, and nothing here may put them back.
  if (RestoreRequested) return;

  skipErrors([&] { savePreference("Presets", CurrentPreset); });
  skipErrors([&] { savePreference("Run", "False"); });
  skipErrors([&] { savePreference("Tray", numberToText(Tray)); });
  skipErrors([&] { savePreference("StartupRun", numberToText(StartupRun)); });
  skipErrors([&] { savePreference("IconType", IconType); });
  skipErrors([&] { savePreference("Speed", numberToText(Speed)); });
  skipErrors([&] { savePreference("View", numberToText(Check13->value())); });
  skipErrors([&] { savePreference("AutoUpdate", numberToText(AutoUpdate)); });

  skipErrors([&] {
    if (Check9->value() == forms::CheckValue::Checked)
      plinth().WriteValue(HKEY_LOCAL_MACHINE, kRunKey, kTrayRunValue, Variant(trayCommandLine()), reg_sz);
    else
      plinth().DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, kTrayRunValue);
  });
}

void Form1::Form_Unload(bool& /*cancel*/) {
  skipErrors([&] {
    if (RestoreRequested || Check8->value() != forms::CheckValue::Checked) return;
    if (fso().FileExists(programFile("Plinth.exe"))) {
      shell::startProgram(host().machine(), host().platform().launcher(), ansiPath(programFile("Plinth.exe")),
                          {kTraySwitch}, shell::WindowState::MinimizedFocus);
    } else {
      dialogs().msgBox("Tunewell system file missing! Please reinstall Tunewall.",
                       MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, "Tunewell Error!");
    }
  });
  skipErrors([&] {
    const std::string tmp = programFile("Settings.tmp");
    if (fso().FileExists(tmp)) fso().DeleteFile(tmp, true);
  });
  WindowsDrive.reset();
  fso_.reset();
  plinth_.reset();
}

}  // namespace tw::app
