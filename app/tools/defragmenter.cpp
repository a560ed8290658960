// The Disk Defragmenter group of the Tools tab: whether the defragmenter
// keeps a program profile and the three limits of that profile.  Only the
// pending record and the controls change here.

#include <array>

#include "app/tools/defragmenter_values.h"
#include "app/ui/form1.h"
#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"

namespace tw::app {

void Form1::Check12_Click() {
  reportErrors(dialogs(), "Form1.Check12_Click", [&] {
    // Each change of a selection raises Combo3_Click, so the pending values
    // follow the lists (a cleared list gives 0).
    const bool on = Check12->value() == forms::CheckValue::Checked;
    for (int i = 0; i < 3; ++i) {
      if (!on)
        Combo3(i).setListIndex(-1);
      else if (Combo3(i).listIndex() == -1)
        Combo3(i).setListIndex(kDefragDefaultEntries[static_cast<size_t>(i)]);
    }
    for (int i = 0; i < 3; ++i) {
      Label27(i).setEnabled(on);
      Combo3(i).setEnabled(on);
    }
  });
}

void Form1::Combo3_Click(int index) {
  reportErrors(dialogs(), "Form1.Combo3_Click", [&] {
    const std::array<int16_t*, 3> fields = {&PendingSettings.MaxApps, &PendingSettings.MaxNoUseDays,
                                            &PendingSettings.MinLogSize};
    if (index < 0 || index >= 3) raise(ErrNo::SubscriptOutOfRange);
    const std::string& text = Combo3(index).text();
    // "100 programs": the number in front of the unit.
    *fields[static_cast<size_t>(index)] = text.empty() ? int16_t{0} : toInteger(val(text));
  });
}

void Form1::PopDefrag() {
  reportErrors(dialogs(), "Form1.PopDefrag", [&] {
    for (int i = 0; i < 3; ++i)
      for (auto& entry : defragEntries(i)) Combo3(i).addItem(std::move(entry));
  });
}

void Form1::showDefragmenter() {
  const auto& p = PendingSettings;
  if (OsName.find("95") == std::string::npos) {
    const std::array<int16_t, 3> values = {p.MaxApps, p.MaxNoUseDays, p.MinLogSize};
    for (int i = 0; i < 3; ++i) {
      skipErrors([&] {
        if (const auto entry = defragEntryOf(i, values[static_cast<size_t>(i)])) Combo3(i).setListIndex(*entry);
      });
    }
    if (p.UseProfile != 1) {
      for (int i = 0; i < 3; ++i) {
        skipErrors([&] { Label27(i).setEnabled(false); });
        skipErrors([&] { Combo3(i).setEnabled(false); });
      }
    } else {
      skipErrors([&] { Check12->setValue(1); });
    }
    return;
  }
  // The defragmenter of Windows 95 keeps no program profile.
  skipErrors([&] { Check12->setValue(0); });
  skipErrors([&] { Check12->setEnabled(false); });
  for (int i = 0; i < 3; ++i) skipErrors([&] { Combo3(i).setListIndex(-1); });
  for (int i = 0; i < 3; ++i) {
    skipErrors([&] { Label27(i).setEnabled(false); });
    skipErrors([&] { Combo3(i).setEnabled(false); });
  }
}

}  // namespace tw::app
