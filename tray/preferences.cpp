#include "tray/preferences.h"

#include <string>

#include "app/options/choices.h"
#include "host/runtime/variant.h"
#include "host/settings/settings.h"

namespace tw::tray {

TrayPreferences readTrayPreferences(const SettingsStore& store) {
  TrayPreferences prefs;
  const std::string iconType = store.getSetting(app::kAppName, app::kPrefsSection, "IconType", app::kDefaultTrayIconType);
  prefs.measure = app::trayIconOptionOf(iconType).value_or(*app::trayIconOptionOf(app::kDefaultTrayIconType));
  int speed = 0;
  try {
    // Read as the tuner reads it, leading number and all; text that is no
    // number at all is the default.
    speed = Variant(store.getSetting(app::kAppName, app::kPrefsSection, "Speed", "2")).toInteger();
  } catch (const std::exception&) {
  }
  prefs.interval = std::chrono::milliseconds(app::refreshIntervalOf(speed));
  return prefs;
}

}  // namespace tw::tray
