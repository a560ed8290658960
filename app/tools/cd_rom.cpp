// The CD-ROM group of the Tools tab: the cache slider and the drive's speed
// together give the CD file system's cache size and prefetch.  Only the
// pending record and the readout change here.

#include "app/tools/cd_rom_values.h"
#include "app/ui/form1.h"
#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"

namespace tw::app {

void Form1::Slider9_Scroll() { CDChange(); }

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

}  // namespace tw::app
