#pragma once
// What the Disk Defragmenter group's three lists stand for (0 programs,
// 1 days, 2 bytes), entry by entry.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw::app {

inline constexpr std::array<int16_t, 9> kMaxAppsValues = {10, 20, 50, 75, 100, 150, 200, 250, 300};
inline constexpr std::array<int16_t, 11> kMaxNoUseDaysValues = {2, 7, 10, 14, 20, 30, 60, 90, 120, 180, 365};
// 8190, not 8192: the last entry is the defragmenter's own limit.
inline constexpr std::array<int16_t, 8> kMinLogSizeValues = {64, 128, 256, 512, 1024, 2048, 4096, 8190};
// The entries selected when the group is switched on with a list empty:
// "100 programs", "90 days", "1024 bytes".
inline constexpr std::array<int, 3> kDefragDefaultEntries = {4, 7, 4};

// The entries of list `list` ("10 programs" ...).
std::vector<std::string> defragEntries(int list);
// The entry of list `list` that stands for `value`; nullopt when none does.
std::optional<int> defragEntryOf(int list, int32_t value);

}  // namespace tw::app
