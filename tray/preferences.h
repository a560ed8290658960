#pragma once
// What the tray utility shows and how often: the tuner's "IconType" and
// "Speed" preferences, read with the tuner's own tables.

#include <chrono>

namespace tw {
class SettingsStore;
}

namespace tw::tray {

struct TrayPreferences {
  int measure = 3;  // the Options tab's tray-icon option: 0 "CPU Load" ... 6 "Swap File Size"
  std::chrono::milliseconds interval{500};
};

// Every text the tuner stores or reads for a measure is understood; any
// other, or none, is the default "Physical Memory".  A "Speed" the tuner
// would not select an option for is half a second, as in the tuner.
TrayPreferences readTrayPreferences(const SettingsStore& store);

}  // namespace tw::tray
