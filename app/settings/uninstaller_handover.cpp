// The hand-over to the Uninstaller (the Options tab's "Restore" command),
// which puts back either the settings recorded at the first run or the
// Windows defaults.

#include "app/ui/form1.h"
#include "host/runtime/guard.h"
#include "host/shell/shell.h"
#include "host/system/platform.h"

namespace tw::app {

void Form1::Command3_Click(int /*index*/) {
  reportErrors(dialogs(), "Form1.Command3_Click", [&] {
    const std::string uninstaller = ansiPath(programFile("Uninstaller.exe"));
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
