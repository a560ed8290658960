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

  // The operating system first: an unsupported one gets its message and
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

  // Without the first-run snapshot this start is a first run: the
  // preferences go, "Run" with them.
  skipErrors([&] { fso_ = std::make_unique<FileSystem>(host().machine(), host().platform().disks()); });
  skipErrors([&] {
    if (!fso().FileExists(programFile("Settings.1st"))) plinth().DeleteKey(HKEY_CURRENT_USER, preferencesKey());
  });

  // The Windows folder and its drive, which the Status tab describes.
  skipErrors([&] { WindowsFolder = fso().GetSpecialFolder(0) + "\\"; });
  skipErrors([&] { WindowsDrive = fso().GetDrive(tw::left(WindowsFolder, 2)); });

  // The machine's settings before the preferences, so that a preference
  // can never stand in for a value the machine holds.
  catalogue::readAll(plinth(), p);
  readPreferences();

  // The memory size drives the presets and the cache sliders' range below.
  skipErrors([&] { TotalMemoryKB = toLong(plinth().TotalPhysicalMemory() / 1024); });
  skipErrors([&] { GatherSystemInformation(); });

  // A "Run" that cannot be read counts as no first run, since a first run
  // would overwrite the recorded original settings.
  bool firstRun = false;
  std::optional<double> lastMemory;
  skipErrors([&] { firstRun = Variant(preference("Run", "True")).toBool(); });
  skipErrors([&] { lastMemory = Variant(preference("Mem", "0")).toDouble(); });

  // The presets follow the memory size.
  skipErrors([&] {
    if (!lastMemory || *lastMemory != TotalMemoryKB || !fso().FileExists(programFile("Cache.ini")))
      WritePresetTable(TotalMemoryKB);
  });
  skipErrors([&] { savePreference("Mem", numberToText(TotalMemoryKB)); });
  skipErrors([&] { savePreference("Path", appPath()); });

  // The Cache tab shows the machine's values, and Cache.ini keeps them as
  // the "Current Settings" configuration.
  setUpCacheSliders();
  writeCacheSection("Current Settings");

  // Only a first run records what the machine held before the program
  // changed anything.
  if (firstRun) {
    writeCacheSection("Original Settings");
    skipErrors([&] { SaveFirst(programFile("Settings.1st")); });
    skipErrors([&] { RedirectUninstallEntry(); });
  }

  // Setting the text picks no configuration: the sliders keep the
  // machine's values.
  skipErrors([&] { LoadConfigurations(); });
  skipErrors([&] { Combo1->setText(CurrentPreset); });
  skipErrors([&] { ShowPresetDescription(); });

  // The controls of the Tweaks and Tools tabs take the pending values.
  showTweaks();
  skipErrors([&] { PopCd(); });
  skipErrors([&] { GetCD(); });
  // A stored size whose speed is not on the list (82 is 3x) leaves the speed
  // empty.  Working the size out again from no speed would give the base less
  // 25, a cache no position of the group offers, and any later "Ok" would
  // write it over the stored one; so that size stays as found and is shown.
  skipErrors([&] {
    if (!Combo4->text().empty()) return CDChange();
    const std::string readout = numberToText(2.0 * PendingSettings.CDFSCacheSize) + " Kb";
    Label23->setCaption(readout);
    Slider9->setText(readout);
  });
  skipErrors([&] { PopDefrag(); });
  showDefragmenter();

  skipErrors([&] {
    const AppVersion v = appVersion();
    Label8->setCaption("Version " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                       std::to_string(v.revision));
  });

  showOptions();

  // Settings.tmp records the pending values as start-up leaves them, so
  // that leaving with "Ok" can tell whether the user changed anything.
  skipErrors([&] { LoadTools(); });
  skipErrors([&] { TotalMemoryMb = toLong(TotalMemoryKB / 1024.0); });
  skipErrors([&] { SaveFirst(programFile("Settings.tmp")); });
  skipErrors([&] { UpdateGauges(); });

  skipErrors([&] { Label20->setCaption(LoadResString(Res::StatusTab)); });
  skipErrors([&] { doEvents(); });

  // The gauge timer comes last, so no tick meets a half-filled window.
  skipErrors([&] {
    if (!fso().FileExists(programFile("Settings.1st"))) Option3->setEnabled(false);
  });
  skipErrors([&] { Option4->setValue(true); });
  skipErrors([&] { Timer1->setEnabled(true); });
}

void Form1::readPreferences() {
  skipErrors([&] { StartupRun = Variant(preference("StartupRun", "0")).toInteger(); });
  skipErrors([&] { IconType = preference("IconType", kDefaultTrayIconType); });
  skipErrors([&] { CurrentPreset = preference("Presets", ""); });
  skipErrors([&] { StartupPreset = CurrentPreset; });
  skipErrors([&] { Tray = Variant(preference("Tray", "0")).toInteger(); });
  skipErrors([&] { Speed = Variant(preference("Speed", "2")).toInteger(); });
  skipErrors([&] { AutoUpdate = Variant(preference("AutoUpdate", "0")).toInteger(); });
  skipErrors([&] { Check13->setValue(Variant(preference("View", "0")).toInteger()); });
}

}  // namespace tw::app
