#pragma once
// The values the Tweaks sliders stand for, position by position,
// and the way back from a stored value to the position that shows it.

#include <cstdint>
#include <optional>

namespace tw::app {

// Slider6: position 0 is "Disabled" (1); position p gives 4096 * 2^(p-1)
// bytes of read-ahead.
int32_t readAheadThresholdAt(int32_t position);
// The position that shows a stored read-ahead of 4096 to 4194304 bytes (1 to
// 11); nullopt for a value no position gives (1 is handled by the caller).
std::optional<int32_t> readAheadPosition(int32_t threshold);

// Slider11: 1024 icons per position; nullopt for a count no position gives.
std::optional<int32_t> iconCachePosition(int32_t icons);

}  // namespace tw::app
