#include "app/tools/cd_rom_values.h"

#include <cstddef>

namespace tw::app {

CdSetting cdSettingOf(int32_t cacheSize) {
  // Counting down from the stored size in steps of one speed, the first
  // base figure met is the largest one at or below it that differs from it
  // by whole steps; sizes at or below 0 meet none.
  int best = -1;
  for (int p = 0; p < static_cast<int>(kCdCacheBase.size()); ++p) {
    const int32_t base = kCdCacheBase[static_cast<size_t>(p)];
    if (cacheSize > 0 && base <= cacheSize && (cacheSize - base) % kCdSpeedStep == 0 &&
        (best < 0 || base > kCdCacheBase[static_cast<size_t>(best)]))
      best = p;
  }
  if (best < 0) return {0, 4};
  const int32_t steps = (cacheSize - kCdCacheBase[static_cast<size_t>(best)]) / kCdSpeedStep;
  return {best, static_cast<int>(steps) + 1};
}

}  // namespace tw::app
