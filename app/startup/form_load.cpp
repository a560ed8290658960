// Start-up of the main window: Form_Initialize, then Form_Load, run while
// the splash window loads the main window hidden.  Form_Load never stops on
// an error: each statement that fails is skipped and whatever it would have
// filled keeps what it held (a pending value its Windows default, a control
// its design state), because a half-readable machine must still open.

#include <array>
#include <optional>
#include <string_view>

#include "app/options/choices.h"
#include "app/tweaks/value_sets.h"
#include "app/ui/form1.h"
#include "app/ui/strings.h"
#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "host/shell/windows.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"

namespace tw::app {

namespace {

constexpr const char* kUninstallKeyPrefix = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ST6UNST #";
constexpr int kUninstallEntries = 50;

// The tray utility's window title, by which it is found and closed.
constexpr const char* kTrayWindowTitle = "PlinthExe";

// The tray-icon measure each option stands for.  Clicking "Hard Drive Use"
// stores "Hard Drive" (the text the tray utility reads), so start-up selects
// that option for "Hard Drive" and, for preferences written before, for its
// caption too.
struct IconChoice {
  std::string_view stored;
  int option;
};
constexpr std::array<IconChoice, 8> kIconChoices = {{{"CPU Load", 0},
                                                     {"Resources", 1},
                                                     {"System Memory", 2},
                                                     {"Physical Memory", 3},
                                                     {"Cache Size", 4},
                                                     {"Hard Drive", 5},
                                                     {"Hard Drive Use", 5},
                                                     {"Page Size", 6}}};

}  // namespace

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

void Form1::Form_Initialize() {
  bool previousInstance = false;
  reportErrors(dialogs(), "Form1.Form_Initialize", [&] {
    // A second copy ends before it touches anything, the tray utility
    // included: the first copy is still using the machine.
    if (context_.previousInstance) {
      previousInstance = true;
      return;
    }
    if (context_.windows == nullptr) return;
    const shell::HWND tray = context_.windows->findWindow(kTrayWindowTitle);
    if (tray != 0) context_.windows->postMessage(tray, shell::WM_CLOSE, 0, 0);
  });
  if (previousInstance) End();
}

void Form1::Form_Load() {
  if (ended_) return;
  auto& p = PendingSettings;

  // 1-2. The operating system: an unsupported one gets its message and
  // nothing else, so not a single preference or file is written.
  skipErrors([&] { OsName = plinth().OSVersion(); });
  if (OsName == "Shutdown") {
    skipErrors([&] {
      dialogs().msgBox("This program will not run on this version of Windows.",
                       MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, "Windows Version Error");
    });
    End();
    return;
  }

  // 3. Without the first-run snapshot this start is a first run: the
  // preferences go, "Run" with them.
  skipErrors([&] { fso_ = std::make_unique<FileSystem>(host().machine(), host().platform().disks()); });
  skipErrors([&] {
    if (!fso().FileExists(programFile("Settings.1st"))) plinth().DeleteKey(HKEY_CURRENT_USER, kPrefsKey);
  });

  // 4.
  skipErrors([&] { WindowsFolder = fso().GetSpecialFolder(0) + "\\"; });
  skipErrors([&] { WindowsDrive = fso().GetDrive(tw::left(WindowsFolder, 2)); });

  // 5-6.
  catalogue::readAll(plinth(), p);
  readPreferences();

  // 7-8.
  skipErrors([&] { TotalMemoryKB = toLong(plinth().TotalPhysicalMemory() / 1024); });
  skipErrors([&] { GatherSystemInformation(); });

  // 9. A "Run" that cannot be read counts as no first run, since a first run
  // would overwrite the recorded original settings.
  bool firstRun = false;
  std::optional<double> lastMemory;
  skipErrors([&] { firstRun = Variant(preference("Run", "True")).toBool(); });
  skipErrors([&] { lastMemory = Variant(preference("Mem", "0")).toDouble(); });

  // 10-11. The presets follow the memory size.
  skipErrors([&] {
    if (!lastMemory || *lastMemory != TotalMemoryKB || !fso().FileExists(programFile("Cache.ini")))
      WritePresetTable(TotalMemoryKB);
  });
  skipErrors([&] { savePreference("Mem", numberToText(TotalMemoryKB)); });
  skipErrors([&] { savePreference("Path", appPath()); });

  // 12-13.
  setUpCacheSliders();
  writeCacheSection("Current Settings");

  // 14.
  if (firstRun) {
    writeCacheSection("Original Settings");
    skipErrors([&] { SaveFirst(programFile("Settings.1st")); });
    skipErrors([&] { RedirectUninstallEntry(); });
  }

  // 15. Setting the text picks no configuration: the sliders keep the
  // machine's values.
  skipErrors([&] { LoadConfigurations(); });
  skipErrors([&] { Combo1->setText(CurrentPreset); });
  skipErrors([&] { ShowPresetDescription(); });

  // 16-18.
  showTweaks();
  skipErrors([&] { PopCd(); });
  skipErrors([&] { GetCD(); });
  skipErrors([&] { CDChange(); });
  skipErrors([&] { PopDefrag(); });
  showDefragmenter();

  // 19.
  skipErrors([&] {
    const AppVersion v = appVersion();
    Label8->setCaption("Version " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                       std::to_string(v.revision));
  });

  // 20-22.
  showOptions();

  // 23-26.
  skipErrors([&] { LoadTools(); });
  skipErrors([&] { TotalMemoryMb = toLong(TotalMemoryKB / 1024.0); });
  skipErrors([&] { SaveFirst(programFile("Settings.tmp")); });
  skipErrors([&] { UpdateGauges(); });

  // 27-28.
  skipErrors([&] { Label20->setCaption(LoadResString(Res::StatusTab)); });
  skipErrors([&] { doEvents(); });

  // 29-30. The gauge timer comes last, so no tick meets a half-filled window.
  skipErrors([&] {
    if (!fso().FileExists(programFile("Settings.1st"))) Option3->setEnabled(false);
  });
  skipErrors([&] { Option4->setValue(true); });
  skipErrors([&] { Timer1->setEnabled(true); });
}

void Form1::readPreferences() {
  skipErrors([&] { StartupRun = Variant(preference("StartupRun", "0")).toInteger(); });
  skipErrors([&] { IconType = preference("IconType", "Physical Memory"); });
  skipErrors([&] { CurrentPreset = preference("Presets", ""); });
  skipErrors([&] { StartupPreset = CurrentPreset; });
  skipErrors([&] { Tray = Variant(preference("Tray", "0")).toInteger(); });
  skipErrors([&] { Speed = Variant(preference("Speed", "2")).toInteger(); });
  skipErrors([&] { AutoUpdate = Variant(preference("AutoUpdate", "0")).toInteger(); });
  skipErrors([&] { Check13->setValue(Variant(preference("View", "0")).toInteger()); });
}

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

void Form1::RedirectUninstallEntry() {
  std::string entry;
  for (int n = 1; n <= kUninstallEntries && entry.empty(); ++n) {
    const std::string key = kUninstallKeyPrefix + std::to_string(n);
    skipErrors([&] {
      const Variant name = plinth().GetValue(HKEY_LOCAL_MACHINE, key, "ApplicationName", Variant(""), false);
      if (name.type() == VarType::String && name.asString() == "Tunewell.exe") entry = key;
    });
  }
  if (entry.empty()) return;

  const std::string ours = appPath() + "\\Uninstaller.exe /U";
  std::string previous;
  skipErrors([&] {
    previous = plinth().GetValue(HKEY_LOCAL_MACHINE, entry, "UninstallString", Variant(""), false).toString();
  });
  // The Uninstaller runs the saved command as its last step.  An entry that
  // already names it (a repeated first run) must not be saved, or the
  // Uninstaller would start itself again; nor is an empty command worth
  // keeping.
  if (!previous.empty() && previous != ours) skipErrors([&] { savePreference("Uninstall", previous); });
  skipErrors([&] { plinth().WriteValue(HKEY_LOCAL_MACHINE, entry, "UninstallString", Variant(ours), reg_sz); });
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

void Form1::showOptions() {
  skipErrors([&] { Check9->setValue(StartupRun); });
  skipErrors([&] { Check8->setValue(Tray); });
  skipErrors([&] { Check14->setValue(AutoUpdate); });
  skipErrors([&] {
    if (!fso().FileExists(programFile("Plinth.exe"))) {
      // Without the tray utility there is nothing to run in the tray.
      skipErrors([&] { Check8->setValue(0); });
      skipErrors([&] { Check8->setEnabled(false); });
    }
  });

  for (const IconChoice& choice : kIconChoices) {
    if (IconType == choice.stored) {
      skipErrors([&] { Option1(choice.option).setValue(true); });
      break;
    }
  }

  // Any other interval, the absent value's 2 included, means half a second.
  const int option = refreshOptionOf(Speed).value_or(1);
  skipErrors([&] { Option2(option).setValue(true); });
}

}  // namespace tw::app
