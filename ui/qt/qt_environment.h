#pragma once
// The controls' environment on Qt: DoEvents runs the event loop once, timers
// are QTimers, the screen gives the twips per pixel and the picture store
// the size of pictures.  Must outlive every form that uses it.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "ui/forms/environment.h"

class QTimer;

namespace tw::qt {

class PictureStore;

class QtEnvironment : public forms::Environment {
 public:
  // Without a picture store no picture size is known.
  explicit QtEnvironment(const PictureStore* pictures = nullptr);
  ~QtEnvironment() override;
  QtEnvironment(const QtEnvironment&) = delete;
  QtEnvironment& operator=(const QtEnvironment&) = delete;

  void doEvents() override;
  void startTimer(forms::Timer& timer, int intervalMs) override;
  void stopTimer(forms::Timer& timer) override;
  int twipsPerPixelX() const override { return twipsPerPixel_; }
  int twipsPerPixelY() const override { return twipsPerPixel_; }
  std::optional<forms::PictureSize> pictureSize(const std::string& picture) const override;

  // Whether the timer is counting down now, and its interval (for tests).
  bool running(const forms::Timer& timer) const;
  std::optional<int> intervalOf(const forms::Timer& timer) const;

 private:
  const PictureStore* pictures_;
  int twipsPerPixel_ = 15;
  std::map<const forms::Timer*, QTimer*, std::less<>> timers_;
};

}  // namespace tw::qt
