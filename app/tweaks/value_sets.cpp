#include "app/tweaks/value_sets.h"

#include <span>
#include <vector>

#include "host/runtime/errors.h"

namespace tw::app {

namespace {

constexpr int32_t kReadAheadUnit = 4096;
constexpr int32_t kReadAheadPositions = 11;
constexpr int32_t kIconsPerPosition = 1024;
constexpr int32_t kIconPositions = 8;

std::span<const int16_t> defragValues(int list) {
  switch (list) {
    case 0: return kMaxAppsValues;
    case 1: return kMaxNoUseDaysValues;
    case 2: return kMinLogSizeValues;
    default: raise(ErrNo::SubscriptOutOfRange);
  }
}

const char* defragUnit(int list) {
  static constexpr const char* kUnits[] = {" programs", " days", " bytes"};
  return kUnits[list];
}

}  // namespace

int32_t readAheadThresholdAt(int32_t position) {
  if (position <= 0) return 1;
  if (position > kReadAheadPositions) raise(ErrNo::Overflow);
  return kReadAheadUnit << (position - 1);
}

std::optional<int32_t> readAheadPosition(int32_t threshold) {
  for (int32_t p = 1; p <= kReadAheadPositions; ++p)
    if (readAheadThresholdAt(p) == threshold) return p;
  return std::nullopt;
}

std::optional<int32_t> iconCachePosition(int32_t icons) {
  if (icons < 0 || icons % kIconsPerPosition != 0 || icons / kIconsPerPosition > kIconPositions) return std::nullopt;
  return icons / kIconsPerPosition;
}

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

std::vector<std::string> defragEntries(int list) {
  std::vector<std::string> entries;
  for (const int16_t v : defragValues(list)) entries.push_back(std::to_string(v) + defragUnit(list));
  return entries;
}

std::optional<int> defragEntryOf(int list, int32_t value) {
  const auto values = defragValues(list);
  for (size_t i = 0; i < values.size(); ++i)
    if (values[i] == value) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace tw::app
