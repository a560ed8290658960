#pragma once
// The choices of the Options tab: what each tray-icon option stores and
// which refresh interval each gauge-refresh option sets.

#include <array>
#include <optional>
#include <string_view>

namespace tw::app {

// Option1(i): the measure the tray utility is told to show.
inline constexpr std::array<std::string_view, 7> kTrayIconTypes = {
    "CPU Load", "Resources", "System Memory", "Physical Memory", "Cache Size", "Hard Drive", "Page Size"};

// Option2(i): the gauge refresh interval in milliseconds.
inline constexpr std::array<int, 5> kRefreshIntervals = {250, 500, 1000, 2000, 5000};

// The option that stands for an interval; nullopt for any other.
inline std::optional<int> refreshOptionOf(int intervalMs) {
  for (size_t i = 0; i < kRefreshIntervals.size(); ++i)
    if (kRefreshIntervals[i] == intervalMs) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace tw::app
