// Applying: "Ok" compares the pending record with the start-up snapshot and,
// when anything differs, writes every setting of the catalogue and offers
// the restart, since Windows reads these values only as it starts.  Each
// write goes through the system library, whose INI and hive writes replace
// whole files and commit whole transactions, so an apply cut short leaves
// every store readable with each value either old or new.

#include "app/settings/snapshot.h"
#include "app/ui/form1.h"
#include "host/runtime/guard.h"
#include "syslib/plinth.h"

namespace tw::app {

bool Form1::ApplyIfChanged() {
  bool changed = true;
  skipErrors([&] {
    const std::string tmp = programFile("Settings.tmp");
    if (!fso().FileExists(tmp)) return;
    // A snapshot that cannot be read tells nothing about what changed, so
    // it counts as missing: the user asked for his settings to be applied.
    const auto items = snapshot::read(hostPath(tmp), host().machine().codePage());
    for (const auto& s : catalogue::settings()) {
      if (!s.comparedOnApply()) continue;
      if (!snapshot::sameValue(s, items[static_cast<size_t>(s.item)], PendingSettings)) return;
    }
    changed = false;
  });
  if (!changed) return true;
  if (!confirmCacheLimit()) return false;
  ApplySets();
  return true;
}

void Form1::ApplySets() {
  reportErrors(dialogs(), "Form1.ApplySets", [&] {
    Plinth& p = plinth();
    savePreference("Presets", Combo1->text());
    const catalogue::ApplyContext context{Check12->value() == forms::CheckValue::Checked,
                                          [this] { return FindTaskmon(); }};
    catalogue::writeAll(p, PendingSettings, context);
    Timer1->setEnabled(false);
    p.ExitWindowsMsgBox(2, 0, "");
  });
}

std::string Form1::FindTaskmon() {
  return reportErrors(dialogs(), "Form1.FindTaskmon", std::string(), [&] {
    for (const int folder : {0, 1}) {
      const std::string path = fso().GetSpecialFolder(folder) + "\\Taskmon.exe";
      if (fso().FileExists(path)) return path;
    }
    return std::string();
  });
}

}  // namespace tw::app
