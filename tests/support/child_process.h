#pragma once
// Child processes for the tests of several programs using one file at once.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tw::test {

// Runs `body` in a child process whose exit status is body's result (2 when
// it throws).
inline pid_t spawn(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    int rc = 1;
    try {
      rc = body();
    } catch (...) {
      rc = 2;
    }
    ::_exit(rc);
  }
  return pid;
}

// The child's exit status, or 100 and the signal that killed it.
inline int waitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

}  // namespace tw::test
