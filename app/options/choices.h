#pragma once
// The choices of the Options tab: what each tray-icon option stores and
// which refresh interval each gauge-refresh option sets.  The tray utility
// reads the same preferences with the same tables.

#include <array>
#include <optional>
#include <string_view>

#include "app/settings/shared_names.h"

namespace tw::app {

// Option1(i): the measure the tray utility is told to show.
inline constexpr std::array<std::string_view, 7> kTrayIconTypes = {
    "CPU Load", "Resources", "System Memory", "Physical Memory", "Cache Size", "Hard Drive", "Page Size"};
// Option1(i)'s caption.
inline constexpr std::array<std::string_view, 7> kTrayIconCaptions = {
    "CPU Load", "Resources", "System Memory", "Physical Memory", "Cache Size", "Hard Drive Use", "Swap File Size"};
// The measure shown when "IconType" is absent.
inline constexpr const char* kDefaultTrayIconType = "Physical Memory";

// The option a stored "IconType" text stands for; nullopt for any other
// text.  Clicking "Hard Drive Use" stores "Hard Drive", so that text selects
// the option and, for preferences written before, so does the caption.
inline std::optional<int> trayIconOptionOf(std::string_view stored) {
  for (size_t i = 0; i < kTrayIconTypes.size(); ++i)
    if (kTrayIconTypes[i] == stored) return static_cast<int>(i);
  if (stored == kTrayIconCaptions[5]) return 5;
  return std::nullopt;
}

// Option2(i): the gauge refresh interval in milliseconds.
inline constexpr std::array<int, 5> kRefreshIntervals = {250, 500, 1000, 2000, 5000};

// The option that stands for an interval; nullopt for any other.
inline std::optional<int> refreshOptionOf(int intervalMs) {
  for (size_t i = 0; i < kRefreshIntervals.size(); ++i)
    if (kRefreshIntervals[i] == intervalMs) return static_cast<int>(i);
  return std::nullopt;
}

// The interval a stored "Speed" stands for: any other value, the absent
// value's 2 included, means half a second.
inline int refreshIntervalOf(int storedSpeed) {
  return kRefreshIntervals[static_cast<size_t>(refreshOptionOf(storedSpeed).value_or(1))];
}

}  // namespace tw::app
