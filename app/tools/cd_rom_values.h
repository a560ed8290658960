#pragma once
// What the CD-ROM group's controls stand for: Slider9's base figures, the
// speeds of Combo4, and the way back from a stored cache size to them.

#include <array>
#include <cstdint>

namespace tw::app {

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

}  // namespace tw::app
