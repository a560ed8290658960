#pragma once
// The values the Tweaks and Tools controls stand for, position by position,
// and the way back from a stored value to the position that shows it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw::app {

// Slider6: position 0 is "Disabled" (1); position p gives 4096 * 2^(p-1)
// bytes of read-ahead.
int32_t readAheadThresholdAt(int32_t position);
// The position that shows a stored read-ahead of 4096 to 4194304 bytes (1 to
// 11); nullopt for a value no position gives (1 is handled by the caller).
std::optional<int32_t> readAheadPosition(int32_t threshold);

// Slider11: 1024 icons per position; nullopt for a count no position gives.
std::optional<int32_t> iconCachePosition(int32_t icons);

// The CD-ROM cache: Slider9's base figures and the speeds of Combo4.
inline constexpr std::array<int32_t, 7> kCdCacheBase = {32, 64, 96, 160, 288, 416, 544};
inline constexpr std::array<int32_t, 7> kCdPrefetchBase = {27, 33, 41, 57, 89, 121, 153};
inline constexpr std::array<int, 13> kCdSpeeds = {1, 2, 4, 8, 16, 20, 24, 32, 40, 44, 48, 50, 52};
// What every step of speed above 1x adds to both figures.
inline constexpr int32_t kCdSpeedStep = 25;

// Where a stored CD-ROM cache size is shown: Slider9's position and the
// speed that together give it.  A size that no position and speed give is
// shown as position 0 at 4x.
struct CdSetting {
  int32_t position;
  int speed;
};
CdSetting cdSettingOf(int32_t cacheSize);

// The three Disk Defragmenter lists (0 programs, 1 days, 2 bytes).
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
