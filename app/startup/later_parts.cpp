// PLACEHOLDERS for the parts of the program that are not built yet.
//
// Start-up and the window call every procedure below under its final name,
// at the moment the finished program will; each part, as it lands, replaces
// its placeholder here with the real procedure (in its own area's file) and
// start-up needs no change.  Until then each one does nothing, which keeps
// start-up running: the presets are not generated, no snapshot is written,
// the system information rows keep "Unknown", the tools list stays empty,
// the gauges do not move and "Ok" applies nothing.

#include "app/ui/form1.h"
#include "host/runtime/guard.h"

namespace tw::app {

// Presets (the Cache tab's configurations).
void Form1::WritePresetTable(double /*memoryKB*/) {}
void Form1::LoadConfigurations() {}
void Form1::ShowPresetDescription() {}

// The settings snapshots (Settings.1st, Settings.tmp).
void Form1::SaveFirst(const std::string& /*path*/) {}

// The system information rows of the Status tab.
void Form1::GatherSystemInformation() {}

// The tools list of the Tools tab.
void Form1::LoadTools() {}

// The status gauges.
void Form1::UpdateGauges() {}

// Applying the settings and leaving the program.
void Form1::ApplyIfChanged() {}

void Form1::Command1_Click() {
  reportErrors(dialogs(), "Form1.Command1_Click", [&] {
    ApplyIfChanged();
    unload();
  });
}

void Form1::cEx_Click() { unload(); }

void Form1::Form_QueryUnload(bool& /*cancel*/, forms::UnloadMode /*mode*/) {
  // The user sees the window close at once, whatever the exit still does.
  skipErrors([&] { hide(); });
}

void Form1::Form_Unload(bool& /*cancel*/) {}

}  // namespace tw::app
