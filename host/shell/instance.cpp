#include "host/shell/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace tw::shell {

namespace fs = std::filesystem;

void ensurePrivateFolder(const fs::path& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    throw std::runtime_error("cannot make the runtime folder " + folder.string() + ": " +
                             std::generic_category().message(errno));
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0)
    throw std::runtime_error("cannot read the runtime folder " + folder.string() + ": " +
                             std::generic_category().message(errno));
  if (!S_ISDIR(st.st_mode))
    throw std::runtime_error("the runtime folder " + folder.string() + " is not a folder");
  if (st.st_uid != ::geteuid())
    throw std::runtime_error("the runtime folder " + folder.string() + " belongs to another user");
  if ((st.st_mode & 0077) != 0)
    throw std::runtime_error("the runtime folder " + folder.string() + " is open to other users");
}

namespace {

fs::path& chosenFolder() {
  static fs::path folder;
  return folder;
}

}  // namespace

void setRuntimeFolder(const fs::path& folder) {
  std::error_code ec;
  chosenFolder() = folder.empty() ? fs::path() : fs::absolute(folder, ec);
}

const fs::path& chosenRuntimeFolder() { return chosenFolder(); }

fs::path runtimeFolder() {
  fs::path folder = chosenFolder();
  if (!folder.empty()) {
    ensurePrivateFolder(folder);
    return folder;
  }
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  if (xdg != nullptr && fs::path(xdg).is_absolute()) {
    folder = fs::path(xdg) / "tunewell";
  } else {
    folder = fs::path("/tmp") / ("tunewell-" + std::to_string(::geteuid()));
  }
  ensurePrivateFolder(folder);
  return folder;
}

InstanceLock::InstanceLock(const fs::path& folder, std::string_view name) {
  const fs::path file = folder / std::string(name);
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    fd_ = fd;
    return;
  }
  previous_ = errno == EWOULDBLOCK;
  ::close(fd);
}

InstanceLock::~InstanceLock() {
  // The file stays: removing it while another process may be opening it
  // would let two processes lock two different files of one name.
  if (fd_ >= 0) ::close(fd_);
}

std::string InstanceLock::nameFor(std::string_view program, const fs::path& machineRoot) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(machineRoot, ec);
  if (ec) canonical = fs::absolute(machineRoot, ec);
  // FNV-1a: stable across builds and processes, unlike std::hash.
  uint64_t h = 1469598103934665603ull;
  for (const char c : canonical.string()) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return std::string(program) + "-" + hex + ".lock";
}

}  // namespace tw::shell
