#include "app/tweaks/value_sets.h"

#include "host/runtime/errors.h"

namespace tw::app {

namespace {

constexpr int32_t kReadAheadUnit = 4096;
constexpr int32_t kReadAheadPositions = 11;
constexpr int32_t kIconsPerPosition = 1024;
constexpr int32_t kIconPositions = 8;

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

}  // namespace tw::app
