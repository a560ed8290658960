// The settings snapshots the tuner takes (Settings.1st at a first run,
// Settings.tmp at every start) and the hand-over to the Uninstaller, which
// puts back either those recorded values or the Windows defaults.

#include "app/settings/snapshot.h"
#include "app/ui/form1.h"
#include "host/runtime/codepage.h"
#include "host/runtime/guard.h"
#include "host/shell/shell.h"
#include "host/system/platform.h"

namespace tw::app {

void Form1::SaveFirst(const std::string& path) {
  reportErrors(dialogs(), "Form1.SaveFirst", [&] {
    const auto& cp = host().machine().codePage();
    snapshot::write(host().machine().toHost(cp.toAnsi(path)), PendingSettings, cp);
  });
}

void Form1::Command3_Click(int /*index*/) {
  reportErrors(dialogs(), "Form1.Command3_Click", [&] {
    const auto& cp = host().machine().codePage();
    const std::string uninstaller = cp.toAnsi(programFile("Uninstaller.exe"));
    // An Uninstaller that cannot be started raises here, so the window
    // stays open with every preference intact.
    if (Option4->value())
      shell::startProgram(host().machine(), host().platform().launcher(), uninstaller, {"/Or"},
                          shell::WindowState::NormalFocus);
    else if (Option3->value())
      shell::startProgram(host().machine(), host().platform().launcher(), uninstaller, {"/Un"},
                          shell::WindowState::NormalFocus);
    // Pending changes are dropped: the Uninstaller is about to rewrite every
    // setting, and the preferences it removes must not be written back.
    RestoreRequested = true;
    unload();
  });
}

}  // namespace tw::app
