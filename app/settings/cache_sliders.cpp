// The five cache sliders: whatever sets a slider's value, its readout and
// its pending field follow.

#include <array>
#include <utility>

#include "app/ui/form1.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"

namespace tw::app {

namespace {

void follow(const forms::Slider& slider, forms::Label& readout, const char* unit, int32_t& field) {
  skipErrors([&] { readout.setCaption(sliderReadout(slider.value(), unit)); });
  field = slider.value();
}

}  // namespace

void Form1::Slider1_Change() {
  follow(*Slider1, *text1, " Kb", PendingSettings.MinFileCache);
  showCacheLimitNote();
}
void Form1::Slider2_Change() {
  follow(*Slider2, *text2, " Kb", PendingSettings.MaxFileCache);
  showCacheLimitNote();
}
void Form1::Slider3_Change() { follow(*Slider3, *text3, " Bytes", PendingSettings.Chunksize); }
void Form1::Slider4_Change() { follow(*Slider4, *text4, " Names", PendingSettings.NameCache); }
void Form1::Slider5_Change() { follow(*Slider5, *text5, " Paths", PendingSettings.PathCache); }

void Form1::setUpCacheSliders() {
  struct CacheSlider {
    forms::Slider* slider;
    int32_t max;
    int32_t small;
    int32_t large;
    int32_t tick;
    int32_t value;
    forms::Label* readout;
    const char* unit;
  };
  const auto& p = PendingSettings;
  const std::array<CacheSlider, 5> rows = {{
      {Slider1, TotalMemoryKB, 512, 1024, 4096, p.MinFileCache, text1, " Kb"},
      {Slider2, TotalMemoryKB, 512, 1024, 4096, p.MaxFileCache, text2, " Kb"},
      {Slider3, 4096, 32, 512, 128, p.Chunksize, text3, " Bytes"},
      {Slider4, 6144, 32, 128, 200, p.NameCache, text4, " Names"},
      {Slider5, 255, 1, 10, 10, p.PathCache, text5, " Paths"},
  }};
  for (const CacheSlider& r : rows) {
    forms::Slider& s = *r.slider;
    skipErrors([&] { s.setMin(0); });
    skipErrors([&] { s.setMax(r.max); });
    skipErrors([&] { s.setSmallChange(r.small); });
    skipErrors([&] { s.setLargeChange(r.large); });
    skipErrors([&] { s.setTickFrequency(r.tick); });
    // A value beyond the range (a cache set larger than the memory now
    // fitted) widens it, so that it is shown and recorded as found.
    skipErrors([&] { showValue(s, r.value); });
    skipErrors([&] { r.readout->setCaption(sliderReadout(s.value(), r.unit)); });
  }
  // A slider already at its value raises no Change, so the note is shown
  // here for what the machine has: an unset maximum on a large machine.
  showCacheLimitNote();
}

void Form1::writeCacheSection(const char* section) {
  const std::string cacheIni = programFile("Cache.ini");
  const std::array<std::pair<const char*, forms::Slider*>, 5> keys = {{{"MinFileCache", Slider1},
                                                                       {"MaxFileCache", Slider2},
                                                                       {"Chunksize", Slider3},
                                                                       {"NameCache", Slider4},
                                                                       {"PathCache", Slider5}}};
  for (const auto& [key, slider] : keys)
    skipErrors([&] { plinth().INIWrite(section, key, numberToText(slider->value()), cacheIni); });
}

}  // namespace tw::app

namespace tw::app {

namespace {

// The nearest multiple of `step` (halves to even) that the slider can hold.
int32_t snapped(const forms::Slider& slider, int32_t step) {
  int32_t v = toLong(slider.value() / static_cast<double>(step)) * step;
  if (v > slider.max()) v -= step;
  if (v < slider.min()) v += step;
  return v;
}

}  // namespace

// Dragging keeps the minimum cache at or below the maximum: whichever slider
// moves pushes the other along.  A configuration loaded from Cache.ini is
// shown as it is, even with the minimum above the maximum.
void Form1::Slider1_Scroll() {
  if (Slider1->value() == 0) {
    skipErrors([&] { text1->setCaption("Disabled"); });
  } else {
    skipErrors([&] { Slider1->setValue(snapped(*Slider1, 512)); });
    skipErrors([&] { text1->setCaption(sliderReadout(Slider1->value(), " Kb")); });
    skipErrors([&] {
      if (Slider1->value() > Slider2->value()) {
        showValue(*Slider2, Slider1->value());
        text2->setCaption(sliderReadout(Slider2->value(), " Kb"));
      }
    });
  }
  skipErrors([&] { Combo1->setText(""); });
  PendingSettings.MinFileCache = Slider1->value();
  skipErrors([&] { ShowPresetDescription(); });
}

void Form1::Slider2_Scroll() {
  if (Slider2->value() == 0) {
    skipErrors([&] { text2->setCaption("Disabled"); });
  } else {
    skipErrors([&] { Slider2->setValue(snapped(*Slider2, 512)); });
    skipErrors([&] { text2->setCaption(sliderReadout(Slider2->value(), " Kb")); });
    skipErrors([&] {
      if (Slider2->value() < Slider1->value()) {
        showValue(*Slider1, Slider2->value());
        text1->setCaption(sliderReadout(Slider1->value(), " Kb"));
      }
    });
  }
  skipErrors([&] { Combo1->setText(""); });
  skipErrors([&] { ShowPresetDescription(); });
}

void Form1::Slider3_Scroll() { scrollSnapped(*Slider3, *text3, 32, " Bytes"); }
void Form1::Slider4_Scroll() { scrollSnapped(*Slider4, *text4, 32, " Names"); }

void Form1::Slider5_Scroll() {
  skipErrors([&] { text5->setCaption(sliderReadout(Slider5->value(), " Paths")); });
  skipErrors([&] { Combo1->setText(""); });
  skipErrors([&] { ShowPresetDescription(); });
}

void Form1::scrollSnapped(forms::Slider& slider, forms::Label& readout, int32_t step, const char* unit) {
  if (slider.value() != 0) skipErrors([&] { slider.setValue(snapped(slider, step)); });
  skipErrors([&] { readout.setCaption(sliderReadout(slider.value(), unit)); });
  skipErrors([&] { Combo1->setText(""); });
  skipErrors([&] { ShowPresetDescription(); });
}

}  // namespace tw::app
