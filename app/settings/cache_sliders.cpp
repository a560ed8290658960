// The five cache sliders: whatever sets a slider's value, its readout and
// its pending field follow.

#include "app/ui/form1.h"
#include "host/runtime/guard.h"

namespace tw::app {

namespace {

void follow(const forms::Slider& slider, forms::Label& readout, const char* unit, int32_t& field) {
  skipErrors([&] { readout.setCaption(sliderReadout(slider.value(), unit)); });
  field = slider.value();
}

}  // namespace

void Form1::Slider1_Change() { follow(*Slider1, *text1, " Kb", PendingSettings.MinFileCache); }
void Form1::Slider2_Change() { follow(*Slider2, *text2, " Kb", PendingSettings.MaxFileCache); }
void Form1::Slider3_Change() { follow(*Slider3, *text3, " Bytes", PendingSettings.Chunksize); }
void Form1::Slider4_Change() { follow(*Slider4, *text4, " Names", PendingSettings.NameCache); }
void Form1::Slider5_Change() { follow(*Slider5, *text5, " Paths", PendingSettings.PathCache); }

}  // namespace tw::app
