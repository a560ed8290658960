// The Tweaks tab and the CD-ROM and Disk Defragmenter groups of the Tools
// tab.  Every handler only changes the pending record and the readouts;
// nothing reaches the machine before the settings are applied.

#include <array>

#include "app/tweaks/value_sets.h"
#include "app/ui/form1.h"
#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"

namespace tw::app {

namespace {

// The pending value a check box stands for.
int32_t chosen(const forms::CheckBox& box, int32_t checked, int32_t unchecked) {
  return box.value() == forms::CheckValue::Checked ? checked : unchecked;
}

}  // namespace

void Form1::Check1_Click() {
  reportErrors(dialogs(), "Form1.Check1_Click", [&] { PendingSettings.CPUPriority = chosen(*Check1, 1, 3); });
}

void Form1::Check2_Click() {
  reportErrors(dialogs(), "Form1.Check2_Click",
               [&] { PendingSettings.ConservativeSwapFileUsage = toInteger(chosen(*Check2, 1, 3)); });
}

void Form1::Check3_Click() {
  reportErrors(dialogs(), "Form1.Check3_Click", [&] { PendingSettings.PCIConcur = chosen(*Check3, 1, 3); });
}

void Form1::Check4_Click() {
  reportErrors(dialogs(), "Form1.Check4_Click", [&] { PendingSettings.FastDRAM = chosen(*Check4, 1, 3); });
}

void Form1::Check5_Click() {
  reportErrors(dialogs(), "Form1.Check5_Click", [&] { PendingSettings.AGPConcur = chosen(*Check5, 1, 3); });
}

void Form1::Check6_Click() {
  reportErrors(dialogs(), "Form1.Check6_Click", [&] { PendingSettings.AlwaysUnloadDLL = chosen(*Check6, 1, 0); });
}

void Form1::Check11_Click() {
  reportErrors(dialogs(), "Form1.Check11_Click",
               [&] { PendingSettings.PageBuffers = toInteger(chosen(*Check11, 32, 4)); });
}

void Form1::Check10_Click(int index) {
  reportErrors(dialogs(), "Form1.Check10_Click", [&] {
    const std::array<std::string*, 4> ports = {&PendingSettings.COM1, &PendingSettings.COM2, &PendingSettings.COM3,
                                               &PendingSettings.COM4};
    if (index < 0 || index >= 4) raise(ErrNo::SubscriptOutOfRange);
    *ports[static_cast<size_t>(index)] =
        Check10(index).value() == forms::CheckValue::Checked ? catalogue::kFastPort : catalogue::kSlowPort;
  });
}

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

void Form1::Slider6_Scroll() {
  const int32_t position = Slider6->value();
  skipErrors([&] { PendingSettings.ReadAheadThreshold = readAheadThresholdAt(position); });
  const std::string readout =
      position == 0 ? "Disabled" : numberToText(toLong(PendingSettings.ReadAheadThreshold / 1024.0)) + " Kb";
  skipErrors([&] { Label10->setCaption(readout); });
  skipErrors([&] { Slider6->setText(readout); });
}

void Form1::Slider7_Scroll() {
  // The DMA buffer comes in steps of 4 KB; setting the value raises Change,
  // which takes it into the pending record.
  skipErrors([&] { Slider7->setValue(toLong(Slider7->value() / 4.0) * 4); });
  const std::string readout = sliderReadout(Slider7->value(), " Kb");
  skipErrors([&] { Label12->setCaption(readout); });
  skipErrors([&] { Slider7->setText(readout); });
}

void Form1::Slider7_Change() { PendingSettings.DMABufferSize = toInteger(Slider7->value()); }

void Form1::Slider8_Scroll() {
  skipErrors([&] { Slider8->setValue(toLong(Slider8->value() / 32.0) * 32); });
  const std::string readout = numberToText(Slider8->value()) + " Kb";
  skipErrors([&] { Label16->setCaption(readout); });
  skipErrors([&] { Slider8->setText(readout); });
}

void Form1::Slider8_Change() { PendingSettings.ContigFileAllocSize = Slider8->value(); }

void Form1::Slider10_Scroll() {
  const std::string readout = numberToText(2.0 * Slider10->value()) + " pages";
  Label24->setCaption(readout);
  Slider10->setText(readout);
}

void Form1::Slider10_Change() {
  skipErrors([&] { Label24->setCaption(numberToText(2.0 * Slider10->value()) + " pages"); });
  skipErrors([&] { PendingSettings.MinSPs = toInteger(2.0 * Slider10->value()); });
}

void Form1::Slider11_Scroll() {
  const int32_t position = Slider11->value();
  skipErrors([&] { PendingSettings.MaxCachedIcons = toInteger(1024.0 * position); });
  const std::string readout = position == 0 ? "Disabled" : numberToText(PendingSettings.MaxCachedIcons) + " Kb";
  skipErrors([&] { Label25->setCaption(readout); });
  skipErrors([&] { Slider11->setText(readout); });
}

void Form1::Slider9_Scroll() { CDChange(); }

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

void Form1::Combo4_Click() {
  reportErrors(dialogs(), "Form1.Combo4_Click", [&] {
    if (!Combo4->text().empty()) CDChange();
  });
}

void Form1::CDChange() {
  reportErrors(dialogs(), "Form1.CDChange", [&] {
    const int32_t position = Slider9->value();
    if (position < 0 || position >= static_cast<int32_t>(kCdCacheBase.size())) raise(ErrNo::SubscriptOutOfRange);
    // No speed chosen counts as 0x.
    const double speed = val(Combo4->text());
    const double extra = (speed - 1) * kCdSpeedStep;
    PendingSettings.CDFSCacheSize = toLong(kCdCacheBase[static_cast<size_t>(position)] + extra);
    PendingSettings.Prefetch = toLong(kCdPrefetchBase[static_cast<size_t>(position)] + extra);
    const std::string readout = numberToText(2.0 * PendingSettings.CDFSCacheSize) + " Kb";
    Label23->setCaption(readout);
    Slider9->setText(readout);
  });
}

void Form1::GetCD() {
  reportErrors(dialogs(), "Form1.GetCD", [&] {
    const CdSetting shown = cdSettingOf(PendingSettings.CDFSCacheSize);
    Slider9->setValue(shown.position);
    for (size_t i = 0; i < kCdSpeeds.size(); ++i) {
      if (kCdSpeeds[i] == shown.speed) {
        Combo4->setListIndex(static_cast<int>(i));
        break;
      }
    }
  });
}

void Form1::PopCd() {
  reportErrors(dialogs(), "Form1.PopCd", [&] {
    for (const int speed : kCdSpeeds) Combo4->addItem(std::to_string(speed) + "x");
  });
}

void Form1::PopDefrag() {
  reportErrors(dialogs(), "Form1.PopDefrag", [&] {
    for (int i = 0; i < 3; ++i)
      for (auto& entry : defragEntries(i)) Combo3(i).addItem(std::move(entry));
  });
}

}  // namespace tw::app
