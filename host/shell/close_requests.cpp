#include "host/shell/close_requests.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tw::shell {

namespace {

sigset_t closeSignal() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

CloseRequests::CloseRequests() {
  const sigset_t set = closeSignal();
  if (const int e = pthread_sigmask(SIG_BLOCK, &set, nullptr); e != 0)
    throw std::system_error(e, std::generic_category(), "cannot block SIGTERM");
  fd_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0) {
    const int e = errno;
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    throw std::system_error(e, std::generic_category(), "cannot receive SIGTERM");
  }
}

CloseRequests::~CloseRequests() {
  // A request already taken in is not delivered again as the signal.
  take();
  ::close(fd_);
  const sigset_t set = closeSignal();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

bool CloseRequests::take() {
  bool any = false;
  signalfd_siginfo info{};
  while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) any = true;
  return any;
}

}  // namespace tw::shell
