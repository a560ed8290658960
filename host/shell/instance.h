#pragma once
// The previous-instance check (App.PrevInstance) and the per-user runtime
// folder that the programs' locks and window registrations live in.
//
// A program takes its instance lock as it starts and holds it for its whole
// life.  The lock is an flock on a file of the runtime folder, so the
// kernel releases it when the process ends, however it ends: a crash never
// leaves a stale "previous instance" behind.

#include <filesystem>
#include <string>
#include <string_view>

namespace tw::shell {

// The folder chosen with setRuntimeFolder, else $XDG_RUNTIME_DIR/tunewell
// when that variable names an absolute folder, else /tmp/tunewell-<uid>.
// Made on first use, readable by the user only.  Throws std::runtime_error
// when the folder cannot be made or is not safe to use (a symbolic link,
// another user's folder, or one others may write to), because another user
// could otherwise plant registrations there.
std::filesystem::path runtimeFolder();

// The runtime folder a program was told to use ("--runtime DIR"), for the
// whole process; empty goes back to the per-user one.  The programs this
// process starts are told the same folder, so that they find its windows
// and it finds theirs.
void setRuntimeFolder(const std::filesystem::path& folder);
// The folder set by setRuntimeFolder (absolute), or empty.
const std::filesystem::path& chosenRuntimeFolder();

// Makes `folder` (one level) with mode 0700 if needed and checks it as
// runtimeFolder() does.  Throws std::runtime_error.
void ensurePrivateFolder(const std::filesystem::path& folder);

class InstanceLock {
 public:
  // Takes the lock `name` (a plain file name) in `folder`.  When the lock
  // cannot be had for another reason than a holder (the folder is missing or
  // unwritable), no lock is held and no previous instance is reported: a
  // program that cannot tell runs rather than refusing to start.
  InstanceLock(const std::filesystem::path& folder, std::string_view name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Another live process (or another lock object of this process) held the
  // lock when this one was taken.
  bool previousInstance() const noexcept { return previous_; }
  // This object holds the lock.
  bool held() const noexcept { return fd_ >= 0; }

  // The lock name of `program` working on the machine in `machineRoot`: two
  // copies on different machines are not instances of one another.
  static std::string nameFor(std::string_view program, const std::filesystem::path& machineRoot);

 private:
  int fd_ = -1;
  bool previous_ = false;
};

}  // namespace tw::shell
