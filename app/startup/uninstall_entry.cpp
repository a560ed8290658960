// A first run points Windows' uninstall entry for the program at the
// Uninstaller, keeping the installer's own command so that the Uninstaller
// can run it as its last step.

#include <string>

#include "app/settings/shared_names.h"
#include "app/ui/form1.h"
#include "host/runtime/guard.h"
#include "syslib/plinth.h"

namespace tw::app {

void Form1::RedirectUninstallEntry() {
  std::string entry;
  for (int n = 1; n <= kUninstallEntries && entry.empty(); ++n) {
    const std::string key = kUninstallKeyPrefix + std::to_string(n);
    skipErrors([&] {
      const Variant name = plinth().GetValue(HKEY_LOCAL_MACHINE, key, "ApplicationName", Variant(""), false);
      if (name.type() == VarType::String && name.asString() == kTunerFile) entry = key;
    });
  }
  if (entry.empty()) return;

  const std::string ours = appPath() + "\\Uninstaller.exe /U";
  std::string previous;
  skipErrors([&] {
    previous = plinth().GetValue(HKEY_LOCAL_MACHINE, entry, "UninstallString", Variant(""), false).toString();
  });
  // The Uninstaller runs the saved command as its last step.  An entry that
  // already names it (a repeated first run) must not be saved, or the
  // Uninstaller would start itself again; nor is an empty command worth
  // keeping.
  if (!previous.empty() && previous != ours) skipErrors([&] { savePreference("Uninstall", previous); });
  skipErrors([&] { plinth().WriteValue(HKEY_LOCAL_MACHINE, entry, "UninstallString", Variant(ours), reg_sz); });
}

}  // namespace tw::app
