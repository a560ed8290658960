#include "ui/forms/environment.h"

#include <algorithm>
#include <limits>

#include "ui/forms/timer.h"

namespace tw::forms {

void Environment::startTimer(Timer&, int) {}
void Environment::stopTimer(Timer&) {}

std::optional<PictureSize> Environment::pictureSize(const std::string&) const { return std::nullopt; }

Environment& nullEnvironment() {
  static Environment none;
  return none;
}

ManualEnvironment::~ManualEnvironment() = default;

void ManualEnvironment::doEvents() {
  ++doEventsCount_;
  if (doEventsHook_) doEventsHook_();
}

void ManualEnvironment::startTimer(Timer& timer, int intervalMs) {
  timers_[&timer] = Entry{intervalMs, now_ + intervalMs, nextOrder_++};
}

void ManualEnvironment::stopTimer(Timer& timer) { timers_.erase(&timer); }

std::optional<PictureSize> ManualEnvironment::pictureSize(const std::string& picture) const {
  auto it = pictures_.find(picture);
  if (it == pictures_.end()) return std::nullopt;
  return it->second;
}

void ManualEnvironment::advance(int64_t ms) {
  const int64_t end = now_ + ms;
  for (;;) {
    // Handlers may start, stop or destroy timers: the next one due is looked
    // up afresh after every tick.
    Timer* next = nullptr;
    int64_t due = std::numeric_limits<int64_t>::max();
    uint64_t order = 0;
    for (auto& [timer, entry] : timers_) {
      if (entry.due < due || (entry.due == due && entry.order < order)) {
        next = timer;
        due = entry.due;
        order = entry.order;
      }
    }
    if (next == nullptr || due > end) break;
    now_ = due;
    Entry& entry = timers_[next];
    entry.due = due + entry.interval;
    entry.order = nextOrder_++;
    next->tick();
  }
  // A tick handler that let messages run may have moved the clock further.
  now_ = std::max(now_, end);
}

bool ManualEnvironment::running(const Timer& timer) const {
  return timers_.count(&timer) != 0;
}

std::optional<int> ManualEnvironment::intervalOf(const Timer& timer) const {
  auto it = timers_.find(&timer);
  if (it == timers_.end()) return std::nullopt;
  return it->second.interval;
}

}  // namespace tw::forms
