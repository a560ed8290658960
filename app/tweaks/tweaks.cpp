// The Tweaks tab: its check boxes and sliders, and how start-up shows the
// pending record on them.  Every handler only changes the pending record
// and the readouts; nothing reaches the machine before the settings are
// applied.

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

void Form1::showTweaks() {
  const auto& p = PendingSettings;
  // Setting a box raises its Click, which copies the state back into the
  // pending value; boxes left unchecked keep a value they do not stand for.
  skipErrors([&] { Check1->setValue(p.CPUPriority == 1 ? 1 : 0); });
  skipErrors([&] { Check3->setValue(p.PCIConcur == 1 ? 1 : 0); });
  skipErrors([&] { Check4->setValue(p.FastDRAM == 1 ? 1 : 0); });
  skipErrors([&] { Check5->setValue(p.AGPConcur == 1 ? 1 : 0); });
  skipErrors([&] { Check6->setValue(p.AlwaysUnloadDLL == 1 ? 1 : 0); });
  skipErrors([&] { Check2->setValue(p.ConservativeSwapFileUsage); });
  skipErrors([&] {
    if (p.PageBuffers == 32) Check11->setValue(1);
  });
  const std::array<const std::string*, 4> ports = {&p.COM1, &p.COM2, &p.COM3, &p.COM4};
  for (int i = 0; i < 4; ++i) {
    skipErrors([&] {
      if (*ports[static_cast<size_t>(i)] == catalogue::kFastPort) Check10(i).setValue(1);
    });
  }

  skipErrors([&] { showValue(*Slider8, p.ContigFileAllocSize); });
  skipErrors([&] { Label16->setCaption(numberToText(Slider8->value()) + " Kb"); });

  const int32_t readAhead = p.ReadAheadThreshold;
  if (readAhead == 1) {
    skipErrors([&] { Slider6->setValue(0); });
    skipErrors([&] { Label10->setCaption("Disabled"); });
  } else {
    skipErrors([&] {
      if (const auto position = readAheadPosition(readAhead)) showValue(*Slider6, *position);
    });
    skipErrors([&] { Label10->setCaption(numberToText(toLong(readAhead / 1024.0)) + " Kb"); });
  }

  skipErrors([&] { showValue(*Slider7, p.DMABufferSize); });
  skipErrors([&] { Label12->setCaption(sliderReadout(Slider7->value(), " Kb")); });

  skipErrors([&] { showValue(*Slider10, toInteger(p.MinSPs / 2.0)); });

  const int16_t icons = p.MaxCachedIcons;
  skipErrors([&] { Label25->setCaption(numberToText(icons) + " Kb"); });
  if (icons == 0) {
    skipErrors([&] { Slider11->setValue(0); });
    skipErrors([&] { Label25->setCaption("Disabled"); });
  } else {
    skipErrors([&] {
      if (const auto position = iconCachePosition(icons)) Slider11->setValue(*position);
    });
  }
}

}  // namespace tw::app
