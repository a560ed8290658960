// The Options tab's preferences.  The handlers keep the module copies that
// the exit stores; start-up sets the controls, which runs the same handlers.

#include <array>
#include <string_view>

#include "app/options/choices.h"
#include "app/ui/form1.h"
#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"

namespace tw::app {

void Form1::Check7_Click() {
  reportErrors(dialogs(), "Form1.Check7_Click", [&] { AlwaysOnTop(Check7->value() == forms::CheckValue::Checked); });
}

void Form1::AlwaysOnTop(bool onTop) {
  reportErrors(dialogs(), "Form1.AlwaysOnTop", [&] {
    setTopMost(onTop);
    doEvents();
  });
}

void Form1::Check8_Click() {
  reportErrors(dialogs(), "Form1.Check8_Click", [&] {
    // Starting with Windows only makes sense with the tray utility running.
    if (Check8->value() == forms::CheckValue::Checked) {
      Check9->setEnabled(true);
    } else {
      Check9->setValue(forms::CheckValue::Unchecked);
      Check9->setEnabled(false);
    }
    Tray = toInteger(Check8->value());
  });
}

void Form1::Check9_Click() {
  reportErrors(dialogs(), "Form1.Check9_Click", [&] { StartupRun = toInteger(Check9->value()); });
}

void Form1::Check14_Click() {
  reportErrors(dialogs(), "Form1.Check14_Click", [&] { AutoUpdate = toInteger(Check14->value()); });
}

void Form1::Option1_Click(int index) {
  reportErrors(dialogs(), "Form1.Option1_Click", [&] {
    if (index < 0 || index >= static_cast<int>(kTrayIconTypes.size())) raise(ErrNo::SubscriptOutOfRange);
    IconType = std::string(kTrayIconTypes[static_cast<size_t>(index)]);
  });
}

void Form1::Option2_Click(int index) {
  reportErrors(dialogs(), "Form1.Option2_Click", [&] {
    if (index < 0 || index >= static_cast<int>(kRefreshIntervals.size())) raise(ErrNo::SubscriptOutOfRange);
    Speed = toInteger(kRefreshIntervals[static_cast<size_t>(index)]);
    Timer1->setInterval(Speed);
  });
}

void Form1::showOptions() {
  skipErrors([&] { Check9->setValue(StartupRun); });
  skipErrors([&] { Check8->setValue(Tray); });
  skipErrors([&] { Check14->setValue(AutoUpdate); });
  skipErrors([&] {
    if (!fso().FileExists(programFile("Plinth.exe"))) {
      // Without the tray utility there is nothing to run in the tray, nor to
      // enter in Windows' start-up.  "Load on startup" goes with "Run in
      // tray" here even when the latter was already clear (and so raised no
      // click): left as it was, it could stay checked, and the exit would
      // enter a program that is not there.
      skipErrors([&] { Check8->setValue(0); });
      skipErrors([&] { Check8->setEnabled(false); });
      skipErrors([&] { Check9->setValue(0); });
      skipErrors([&] { Check9->setEnabled(false); });
    }
  });

  if (const std::optional<int> icon = trayIconOptionOf(IconType)) skipErrors([&] { Option1(*icon).setValue(true); });

  // Any other interval, the absent value's 2 included, means half a second.
  const int option = refreshOptionOf(Speed).value_or(1);
  skipErrors([&] { Option2(option).setValue(true); });
}

}  // namespace tw::app
