#pragma once
// The names the Uninstaller shares with the tuner: where the tuner keeps its
// preferences, the tray utility's window and the uninstall entries.

namespace tw::uninstaller {

// The tuner's application and section in the runtime's settings store.
inline constexpr const char* kAppName = "Tunewell";
inline constexpr const char* kPrefsSection = "Startup";
// The store's key of the whole program, under HKEY_CURRENT_USER.
inline constexpr const char* kSettingsKey = "Software\\VB and VBA Program Settings\\Tunewell";

// What "Uninstall" reads as when the tuner saved no command, and "Run" when
// the tuner was never closed normally.
inline constexpr const char* kNoneSaved = "Zilch";
inline constexpr const char* kNeverRan = "Nope";

inline constexpr const char* kTrayWindowTitle = "PlinthExe";
inline constexpr const char* kTrayRunValue = "CacheTrayUtil";
inline constexpr const char* kTaskMonitorValue = "TaskMonitor";

inline constexpr const char* kUninstallKeyPrefix = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ST6UNST #";
inline constexpr int kUninstallEntries = 50;
inline constexpr const char* kTunerFile = "Tunewell.exe";

}  // namespace tw::uninstaller
