// Taking a settings snapshot of the pending record: Settings.1st at a
// first run, Settings.tmp at every start.

#include "app/settings/snapshot.h"
#include "app/ui/form1.h"
#include "host/runtime/codepage.h"
#include "host/runtime/guard.h"

namespace tw::app {

void Form1::SaveFirst(const std::string& path) {
  reportErrors(dialogs(), "Form1.SaveFirst", [&] {
    snapshot::write(hostPath(path), PendingSettings, host().machine().codePage());
  });
}

}  // namespace tw::app
