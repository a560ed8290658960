#pragma once
// The timer.  It counts down only while it is enabled, its Interval is not
// 0 and its form is loaded; the environment's clock drives it (Qt's timers
// in the programs, a manual clock in tests).  Changing Interval, or
// switching the timer on, starts the countdown afresh.  A tick that comes
// while the timer's own Timer event is still running (its handler let
// messages run) is dropped rather than run inside it, as the platform
// merges timer messages.

#include "ui/forms/control.h"

namespace tw::forms {

class Timer : public Control {
 public:
  Timer() = default;
  ~Timer() override;
  const char* typeName() const noexcept override { return "Timer"; }

  int interval() const noexcept { return interval_; }
  void setInterval(int ms);  // 0..65535; else Invalid property value
  void setEnabled(bool enabled) override;

  // Counting down now.
  bool running() const noexcept { return scheduled_; }

  // Called by the environment when the interval has passed.
  void tick();

  // The classic Timer event.
  Event<> Tick;

 private:
  friend class Form;
  void reschedule();

  int interval_ = 0;
  bool scheduled_ = false;
  bool ticking_ = false;
};

}  // namespace tw::forms
