#pragma once
// What the controls need from the world around the window: the message loop
// (DoEvents), the clock that drives timers, the screen's twips per pixel and
// the size of picture resources.  The Qt front end implements it with its
// event loop, QTimer and the screen; tests and the command-line driver use
// ManualEnvironment, whose clock moves only when told to.
//
// An environment must outlive every form that uses it: timers unregister
// from it when they are destroyed.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace tw::forms {

class Timer;

struct PictureSize {
  int widthPixels = 0;
  int heightPixels = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;

  // Lets the window messages that are waiting run (paint, input, timer
  // ticks) and returns.
  virtual void doEvents() {}

  // Starts, or restarts from zero, the timer's countdown: its first tick
  // comes intervalMs after this call and then every intervalMs until
  // stopTimer().  The environment calls Timer::tick().
  virtual void startTimer(Timer& timer, int intervalMs);
  virtual void stopTimer(Timer& timer);

  virtual int twipsPerPixelX() const { return 15; }
  virtual int twipsPerPixelY() const { return 15; }

  // The size of a picture resource, when known.
  virtual std::optional<PictureSize> pictureSize(const std::string& picture) const;
};

// The environment of a control that belongs to no form: nothing runs.
Environment& nullEnvironment();

// A clock that moves only by advance(), for tests and the scripted driver.
class ManualEnvironment : public Environment {
 public:
  ~ManualEnvironment() override;

  void doEvents() override;
  void startTimer(Timer& timer, int intervalMs) override;
  void stopTimer(Timer& timer) override;
  int twipsPerPixelX() const override { return twipsPerPixel_; }
  int twipsPerPixelY() const override { return twipsPerPixel_; }
  std::optional<PictureSize> pictureSize(const std::string& picture) const override;

  // Moves the clock on by ms, ticking every timer that falls due on the
  // way, in the order of their due times (timers due at the same moment in
  // the order they were started).
  void advance(int64_t ms);
  int64_t now() const noexcept { return now_; }
  // Whether the timer is counting down, and its interval.
  bool running(const Timer& timer) const;
  std::optional<int> intervalOf(const Timer& timer) const;

  // Counts DoEvents calls and runs an optional hook in them (a test can
  // deliver a "pending message" there).
  int doEventsCount() const noexcept { return doEventsCount_; }
  void setDoEventsHook(std::function<void()> hook) { doEventsHook_ = std::move(hook); }

  void setTwipsPerPixel(int twips) { twipsPerPixel_ = twips; }
  void setPictureSize(const std::string& picture, PictureSize size) { pictures_[picture] = size; }

 private:
  struct Entry {
    int interval;
    int64_t due;
    uint64_t order;
  };
  std::map<Timer*, Entry, std::less<>> timers_;
  int64_t now_ = 0;
  uint64_t nextOrder_ = 0;
  int doEventsCount_ = 0;
  std::function<void()> doEventsHook_;
  int twipsPerPixel_ = 15;
  std::map<std::string, PictureSize> pictures_;
};

}  // namespace tw::forms
