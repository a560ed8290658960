#pragma once
// An event of a control: the handlers connected to it run synchronously, in
// the order they were connected, inside the call that raised the event, so
// that events nest exactly as the classic controls nest them (a handler that
// sets another control's value runs that control's handlers before it goes
// on).  Nothing is queued.
//
// Handlers may connect and disconnect handlers, themselves included, while
// the event is being raised: a handler connected during a raise first runs
// at the next raise, and a disconnected one does not run again.  An
// exception thrown by a handler propagates to the code that raised the
// event, as an error in an event procedure reaches the statement that
// caused it.

#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

namespace tw::forms {

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;

  Event() = default;
  // An event belongs to its control; copying one would duplicate handlers
  // that capture the original.
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  // Returns a token for disconnect(); never 0.
  int connect(Handler handler) {
    slots_.push_back(Slot{++lastToken_, std::move(handler)});
    return lastToken_;
  }

  void disconnect(int token) {
    for (auto& slot : slots_) {
      if (slot.token == token) {
        // The handler may be the one running now: its function object is
        // destroyed only when no raise is in progress.
        slot.token = 0;
        dirty_ = true;
      }
    }
    compactIfIdle();
  }

  bool hasHandlers() const {
    for (const auto& slot : slots_)
      if (slot.token != 0) return true;
    return false;
  }

  void raise(Args... args) {
    ++depth_;
    Leave leave{this};
    // A deque keeps its elements in place when handlers connect more.
    const std::size_t count = slots_.size();
    for (std::size_t i = 0; i < count; ++i) {
      if (slots_[i].token != 0) slots_[i].handler(args...);
    }
  }

 private:
  struct Slot {
    int token;
    Handler handler;
  };

  struct Leave {
    Event* event;
    ~Leave() {
      --event->depth_;
      event->compactIfIdle();
    }
  };

  void compactIfIdle() {
    if (depth_ != 0 || !dirty_) return;
    std::deque<Slot> kept;
    for (auto& slot : slots_)
      if (slot.token != 0) kept.push_back(std::move(slot));
    slots_.swap(kept);
    dirty_ = false;
  }

  std::deque<Slot> slots_;
  int lastToken_ = 0;
  int depth_ = 0;
  bool dirty_ = false;
};

}  // namespace tw::forms
