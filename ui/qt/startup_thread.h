#pragma once
// One piece of a program's start-up run beside the main thread: the main
// thread makes the QApplication and the windows meanwhile.

#include <pthread.h>

#include <functional>

namespace tw::qt {

class StartupThread {
 public:
  // Starts `work` on another processor than the calling thread's when there
  // is one.  When no thread can be made, `work` runs here and now.
  explicit StartupThread(std::function<void()> work);
  ~StartupThread();  // waits
  StartupThread(const StartupThread&) = delete;
  StartupThread& operator=(const StartupThread&) = delete;

  // Waits until the work is done; at once when it already is.
  void wait();

 private:
  static void* run(void* self);

  std::function<void()> work_;
  pthread_t thread_{};
  bool running_ = false;
};

}  // namespace tw::qt
