#include "ui/qt/startup_thread.h"

#include <sched.h>

#include <cstddef>

namespace tw::qt {

namespace {

// The processors this thread may run on, less the one it runs on now.  The
// scheduler often starts a new thread on its parent's processor even when
// another is idle; the new thread then takes that processor from the
// start-up for as long as it runs.  False when there is no other processor.
bool otherProcessors(cpu_set_t& set) {
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return false;
  const int current = sched_getcpu();
  if (current < 0 || current >= CPU_SETSIZE) return false;
  CPU_CLR(static_cast<std::size_t>(current), &set);
  return CPU_COUNT(&set) > 0;
}

}  // namespace

StartupThread::StartupThread(std::function<void()> work) : work_(std::move(work)) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) == 0) {
    cpu_set_t others;
    if (otherProcessors(others)) pthread_attr_setaffinity_np(&attributes, sizeof others, &others);
    running_ = pthread_create(&thread_, &attributes, &StartupThread::run, this) == 0;
    pthread_attr_destroy(&attributes);
  }
}

StartupThread::~StartupThread() { wait(); }

void StartupThread::wait() {
  if (!running_) return;
  running_ = false;
  pthread_join(thread_, nullptr);
}

void* StartupThread::run(void* self) {
  static_cast<StartupThread*>(self)->work_();
  return nullptr;
}

}  // namespace tw::qt
