#include "ui/forms/timer.h"

#include "ui/forms/environment.h"
#include "ui/forms/form.h"

namespace tw::forms {

Timer::~Timer() {
  if (scheduled_) environment().stopTimer(*this);
}

void Timer::setInterval(int ms) {
  if (ms < 0 || ms > 65535) raiseInvalidPropertyValue();
  if (!assign(interval_, ms, Prop::Interval)) return;
  reschedule();
}

void Timer::setEnabled(bool enabled) {
  if (enabled == this->enabled()) return;
  Control::setEnabled(enabled);
  reschedule();
}

void Timer::reschedule() {
  Environment& env = environment();
  if (scheduled_) {
    env.stopTimer(*this);
    scheduled_ = false;
  }
  const bool loaded = form() != nullptr && form()->loaded();
  if (enabled() && interval_ > 0 && loaded) {
    env.startTimer(*this, interval_);
    scheduled_ = true;
  }
}

void Timer::tick() {
  // A tick that was already on its way when the timer stopped does not run.
  if (!scheduled_ || ticking_) return;
  ticking_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{ticking_};
  Tick.raise();
}

}  // namespace tw::forms
