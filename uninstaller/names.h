#pragma once
// The names the Uninstaller shares with the tuner: where the tuner keeps its
// preferences, the tray utility's window and the uninstall entries.

#include "app/settings/shared_names.h"

namespace tw::uninstaller {

using app::kAppName;
using app::kPrefsSection;
using app::kTrayRunValue;
using app::kTrayWindowTitle;
using app::kTunerFile;
using app::kUninstallEntries;
using app::kUninstallKeyPrefix;

// The store's key of the whole program, under HKEY_CURRENT_USER.
inline constexpr const char* kSettingsKey = "Software\\VB and VBA Program Settings\\Tunewell";

// What "Uninstall" reads as when the tuner saved no command, and "Run" when
// the tuner was never closed normally.
inline constexpr const char* kNoneSaved = "Zilch";
inline constexpr const char* kNeverRan = "Nope";

inline constexpr const char* kTaskMonitorValue = "TaskMonitor";

}  // namespace tw::uninstaller
