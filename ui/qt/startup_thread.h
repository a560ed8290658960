#pragma once
// One piece of a program's start-up run beside the main thread: the main
// thread makes the QApplication and the windows meanwhile.  Only work the
// program can do without goes here: when no thread can be made, it is not
// done at all.

#include <pthread.h>

#include <functional>

namespace tw::qt {

class StartupThread {
 public:
  // Starts `work` on another processor than the calling thread's when there
  // is one.
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
