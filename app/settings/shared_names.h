#pragma once
// The names the tuner, the Uninstaller and the tray utility must spell
// alike: where the tuner keeps its preferences, the tray utility's window
// and start-up entry, and the installer's uninstall entries.

namespace tw::app {

// The application and section of the program's preferences in the
// runtime's settings store.
inline constexpr const char* kAppName = "Tunewell";
inline constexpr const char* kPrefsSection = "Startup";

// The tray utility's top-level window, found and closed by its title, and
// its value under Windows' "Run" key.
inline constexpr const char* kTrayWindowTitle = "PlinthExe";
inline constexpr const char* kTrayRunValue = "CacheTrayUtil";
// The switch the tuner starts it with: show the icon in the notification area.
inline constexpr const char* kTraySwitch = "/Tray";

// The installer's uninstall entries, numbered from 1; the program's entry is
// the one whose ApplicationName is the tuner's file.
inline constexpr const char* kUninstallKeyPrefix = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ST6UNST #";
inline constexpr int kUninstallEntries = 50;
inline constexpr const char* kTunerFile = "Tunewell.exe";

}  // namespace tw::app
