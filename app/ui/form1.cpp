#include "app/ui/form1.h"

#include "app/ui/hover.h"

#include "host/runtime/codepage.h"
#include "host/runtime/errors.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"

#ifndef TW_VERSION_MAJOR
#define TW_VERSION_MAJOR 1
#define TW_VERSION_MINOR 0
#define TW_VERSION_REVISION 0
#endif

namespace tw::app {

using forms::CheckBox;
using forms::ComboBox;
using forms::OptionButton;

std::string preferencesKey() { return std::string(SettingsStore::kRootKey) + "\\" + kAppName; }

AppVersion appVersion() { return {TW_VERSION_MAJOR, TW_VERSION_MINOR, TW_VERSION_REVISION}; }

Form1::Form1(TunerContext context)
    : forms::Form("Form1", context.environment),
      context_(std::move(context)),
      settings_(context_.host.registry(), context_.host.machine().codePage()) {
  layoutControls();
  connectEvents();
}

Form1::~Form1() = default;

Plinth& Form1::plinth() {
  if (!plinth_) plinth_ = std::make_unique<Plinth>(context_.host);
  return *plinth_;
}

std::string Form1::appPath() const { return context_.host.machine().programFolder(); }

std::string Form1::programFile(const std::string& name) const { return appPath() + "\\" + name; }

std::string Form1::preference(const char* key, const char* absent) const {
  return settings_.getSetting(kAppName, kPrefsSection, key, absent);
}

void Form1::savePreference(const char* key, const std::string& value) {
  settings_.saveSetting(kAppName, kPrefsSection, key, value);
}

FileSystem& Form1::fso() {
  if (!fso_) raise(ErrNo::ObjectNotSet);
  return *fso_;
}

std::filesystem::path Form1::hostPath(const std::string& windowsPath) const {
  return context_.host.machine().toHost(ansiPath(windowsPath));
}

std::string Form1::ansiPath(const std::string& windowsPath) const {
  return context_.host.machine().codePage().toAnsi(windowsPath);
}

void Form1::connectEvents() {
  Initialize.connect([this] { Form_Initialize(); });
  Load.connect([this] { Form_Load(); });
  QueryUnload.connect([this](bool& cancel, forms::UnloadMode mode) { Form_QueryUnload(cancel, mode); });
  Unload.connect([this](bool& cancel) { Form_Unload(cancel); });

  TabStrip1->Click.connect([this] { TabStrip1_Click(); });
  Timer1->Tick.connect([this] { Timer1_Timer(); });
  Command1->Click.connect([this] { Command1_Click(); });
  cEx->Click.connect([this] { cEx_Click(); });

  Slider1->Change.connect([this] { Slider1_Change(); });
  Slider2->Change.connect([this] { Slider2_Change(); });
  Slider3->Change.connect([this] { Slider3_Change(); });
  Slider4->Change.connect([this] { Slider4_Change(); });
  Slider5->Change.connect([this] { Slider5_Change(); });
  Slider1->Scroll.connect([this] { Slider1_Scroll(); });
  Slider2->Scroll.connect([this] { Slider2_Scroll(); });
  Slider3->Scroll.connect([this] { Slider3_Scroll(); });
  Slider4->Scroll.connect([this] { Slider4_Scroll(); });
  Slider5->Scroll.connect([this] { Slider5_Scroll(); });
  Combo1->Click.connect([this] { Combo1_Click(); });
  Combo1->KeyPress.connect([this](int& key) { Combo1_KeyPress(key); });
  cAdd->Click.connect([this] { cAdd_Click(); });
  cRemove->Click.connect([this] { cRemove_Click(); });
  Command3.connect(&forms::CommandButton::Click, [this](int index) { Command3_Click(index); });

  Check1->Click.connect([this] { Check1_Click(); });
  Check2->Click.connect([this] { Check2_Click(); });
  Check3->Click.connect([this] { Check3_Click(); });
  Check4->Click.connect([this] { Check4_Click(); });
  Check5->Click.connect([this] { Check5_Click(); });
  Check6->Click.connect([this] { Check6_Click(); });
  Check11->Click.connect([this] { Check11_Click(); });
  Check10.connect(&CheckBox::Click, [this](int index) { Check10_Click(index); });
  Check12->Click.connect([this] { Check12_Click(); });
  Slider6->Scroll.connect([this] { Slider6_Scroll(); });
  Slider7->Scroll.connect([this] { Slider7_Scroll(); });
  Slider7->Change.connect([this] { Slider7_Change(); });
  Slider8->Scroll.connect([this] { Slider8_Scroll(); });
  Slider8->Change.connect([this] { Slider8_Change(); });
  Slider10->Scroll.connect([this] { Slider10_Scroll(); });
  Slider10->Change.connect([this] { Slider10_Change(); });
  Slider11->Scroll.connect([this] { Slider11_Scroll(); });
  Slider9->Scroll.connect([this] { Slider9_Scroll(); });
  Combo3.connect(&ComboBox::Click, [this](int index) { Combo3_Click(index); });
  Combo4->Click.connect([this] { Combo4_Click(); });

  Check7->Click.connect([this] { Check7_Click(); });
  Check8->Click.connect([this] { Check8_Click(); });
  Check9->Click.connect([this] { Check9_Click(); });
  Check14->Click.connect([this] { Check14_Click(); });
  Option1.connect(&OptionButton::Click, [this](int index) { Option1_Click(index); });
  Option2.connect(&OptionButton::Click, [this](int index) { Option2_Click(index); });

  Combo2->Click.connect([this] { Combo2_Click(); });
  Command2->Click.connect([this] { Command2_Click(); });
  Command4->Click.connect([this] { Command4_Click(); });
  Command5->Click.connect([this] { Command5_Click(); });
  Web->NavigateComplete2.connect([this](const std::string& url) { Web_NavigateComplete2(url); });
  Web->NavigateError.connect([this](const std::string& url, const std::string& frame, int status, bool& cancel) {
    Web_NavigateError(url, frame, status, cancel);
  });
  Label29->Click.connect([this] { Label29_Click(); });
  connectHoverDescriptions(*this);
}

std::string sliderReadout(int32_t value, const char* unit) {
  if (value == 0) return "Disabled";
  return numberToText(value) + unit;
}

void showValue(forms::Slider& slider, int32_t value) {
  if (value > slider.max()) slider.setMax(value);
  if (value < slider.min()) slider.setMin(value);
  slider.setValue(value);
}

}  // namespace tw::app
