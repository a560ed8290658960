#pragma once
// The largest disk cache Windows 95, 98 and ME can start with.  These
// systems reserve address space for the largest cache they may grow to:
// with a maximum above 512 MB, or with no maximum at all on a machine of
// more than 512 MB, they stop with "Insufficient memory to initialize
// Windows" or cannot open a DOS box.  The preset formulas were made for
// machines of a few hundred MB and pass that line on today's memory sizes,
// so the presets stop at the limit and applying a larger cache asks first.

#include <cstdint>
#include <string>

namespace tw::app {

inline constexpr int32_t kLargestStartableCacheKB = 524288;

struct CacheSizes {
  int32_t minKB = 0;
  int32_t maxKB = 0;  // 0: not set, Windows grows the cache as it likes
  bool operator==(const CacheSizes&) const = default;
};

// Whether a machine of `memoryKB` can start Windows with `sizes`.
bool startsWindows(CacheSizes sizes, int32_t memoryKB);

// Whether applying `pending` over what `System.ini` holds `today` must be
// confirmed: only an apply that changes the cache, and then only when it
// writes a size Windows cannot start with or removes a maximum that keeps
// a large machine startable.  A cache left as it was asks nothing.
bool applyNeedsCacheConfirmation(CacheSizes today, CacheSizes pending, int32_t memoryKB);

// What the tuner proposes instead: both sizes at most the limit, and a
// maximum where there was none.
CacheSizes startableProposal(CacheSizes pending);

// The Cache tab's note on the sizes the sliders show; empty when Windows
// starts with them.
std::string cacheLimitNote(CacheSizes sizes, int32_t memoryKB);

// The question "Ok" asks before it writes such a cache.
std::string cacheLimitQuestion(CacheSizes pending);

}  // namespace tw::app
