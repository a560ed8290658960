#include "app/tools/defragmenter_values.h"

#include <span>

#include "host/runtime/errors.h"

namespace tw::app {

namespace {

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
