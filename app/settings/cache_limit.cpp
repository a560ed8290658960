#include "app/settings/cache_limit.h"

#include <algorithm>

namespace tw::app {

namespace {

constexpr int32_t kLimit = kLargestStartableCacheKB;

bool aboveLimit(CacheSizes s) { return s.minKB > kLimit || s.maxKB > kLimit; }
bool unboundedOnLargeMachine(CacheSizes s, int32_t memoryKB) { return s.maxKB == 0 && memoryKB > kLimit; }

constexpr const char* kWhatHappens =
    "it stops with \"Insufficient memory to initialize Windows\" or cannot open a DOS box.";
constexpr const char* kChoices =
    "\r\n\r\nYes: limit the disk cache to 524288 Kb, then apply.\r\n"
    "No: apply the settings as you set them.\r\n"
    "Cancel: go back without applying.";

}  // namespace

bool startsWindows(CacheSizes sizes, int32_t memoryKB) {
  return !aboveLimit(sizes) && !unboundedOnLargeMachine(sizes, memoryKB);
}

bool applyNeedsCacheConfirmation(CacheSizes today, CacheSizes pending, int32_t memoryKB) {
  if (pending == today) return false;
  if (aboveLimit(pending)) return true;
  return pending.maxKB == 0 && today.maxKB != 0 && memoryKB > kLimit;
}

CacheSizes startableProposal(CacheSizes pending) {
  const int32_t maxKB = pending.maxKB == 0 ? kLimit : std::min(pending.maxKB, kLimit);
  return {std::min(pending.minKB, kLimit), maxKB};
}

std::string cacheLimitNote(CacheSizes sizes, int32_t memoryKB) {
  if (aboveLimit(sizes)) return "Windows 98 cannot start with a disk cache above 524288 Kb.";
  if (unboundedOnLargeMachine(sizes, memoryKB))
    return "Windows may fail to start without a Max Disk Cache: set 524288 Kb or less.";
  return "";
}

std::string cacheLimitQuestion(CacheSizes pending) {
  if (aboveLimit(pending))
    return std::string("Windows 98 cannot start with a disk cache above 524288 Kb (512 MB): ") + kWhatHappens +
           kChoices;
  return std::string("Without a Max Disk Cache, Windows 98 may fail to start on a machine with more than 512 MB of "
                     "memory: ") +
         kWhatHappens + kChoices;
}

}  // namespace tw::app
