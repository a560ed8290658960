#pragma once
// WM_CLOSE from another process, as this process receives it.  The window
// registry delivers it as SIGTERM (windows.h), which would end a program on
// the spot: its notification icon and its window registration left behind.
// A program that closes cleanly instead makes one CloseRequests before it
// starts any thread (so that every thread has the signal blocked) and
// watches fd() in its event loop.

namespace tw::shell {

class CloseRequests {
 public:
  // Blocks SIGTERM and opens a descriptor that receives it.  Throws
  // std::system_error when the descriptor cannot be had.
  CloseRequests();
  // Drops the waiting requests and unblocks SIGTERM again.
  ~CloseRequests();
  CloseRequests(const CloseRequests&) = delete;
  CloseRequests& operator=(const CloseRequests&) = delete;

  // Readable while a request waits; never blocks a read.
  int fd() const noexcept { return fd_; }
  // Whether a request was waiting; takes every waiting request.
  bool take();

 private:
  int fd_ = -1;
};

}  // namespace tw::shell
