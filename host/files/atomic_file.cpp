#include "host/files/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string_view>
#include <system_error>

namespace tw {
namespace {

[[noreturn]] void throwErrno(const std::string& what, const std::filesystem::path& p) {
  throw std::system_error(errno, std::generic_category(), what + " " + p.string());
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
  auto dir = file.parent_path();
  return dir.empty() ? std::filesystem::path(".") : dir;
}

constexpr char kTempTag[] = ".tmp";
constexpr size_t kTempTagSize = sizeof kTempTag - 1;

// ".NAME.tmpNNN": what writeFileAtomically names its temporaries.
bool isTemporaryName(std::string_view name) {
  if (name.size() < 2 || name[0] != '.') return false;
  size_t digits = 0;
  while (digits < name.size() && name[name.size() - 1 - digits] >= '0' && name[name.size() - 1 - digits] <= '9') ++digits;
  if (digits == 0) return false;
  name.remove_suffix(digits);
  return name.size() > 1 + kTempTagSize && name.substr(name.size() - kTempTagSize) == kTempTag;
}

void syncFolder(const std::filesystem::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // the data is safe; only the rename's durability is at stake
  ::fsync(fd);
  ::close(fd);
}

// Whether `file` still holds `seen` (nullopt: does not exist), compared a
// block at a time so that no second copy of the file is made.
bool stillHolds(const std::filesystem::path& file, const std::optional<std::string>& seen) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return !seen && (errno == ENOENT || errno == ENOTDIR);
  bool same = seen.has_value();
  struct stat st {};
  if (same && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) same = false;
  char block[16384];
  size_t at = 0;
  while (same) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) same = false;
    if (n <= 0) break;
    const size_t got = static_cast<size_t>(n);
    same = at + got <= seen->size() && std::memcmp(block, seen->data() + at, got) == 0;
    at += got;
  }
  ::close(fd);
  return same && at == seen->size();
}

// writeFileAtomically; with the folder open already (-1: not), it flushes
// the rename through that.
void replaceFile(const std::filesystem::path& file, std::string_view bytes, int openFolder) {
  const auto dir = folderOf(file);
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  std::filesystem::path temp;
  int fd = -1;
  for (;;) {
    temp = dir / ("." + file.filename().string() + kTempTag + std::to_string(rng() % 1000000000ull));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throwErrno("cannot create", temp);
    // The lock marks the temporary as being written until it is renamed.  A
    // cleaner may have taken the file for a leftover in the moment before
    // the lock was had; then it is gone, and another name is taken.
    // Where the file system has no locks, no cleaner can take the lock either.
    struct stat st {};
    if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &st) != 0 || st.st_nlink > 0) break;
    ::close(fd);
  }
  auto fail = [&](const char* what, const std::filesystem::path& p) {
    const int saved = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    errno = saved;
    throwErrno(what, p);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("cannot write", temp);
    }
    done += static_cast<size_t>(n);
  }
  // Keep the permissions of the file being replaced.
  struct stat st {};
  if (::stat(file.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  if (::fsync(fd) != 0) fail("cannot flush", temp);
  // Still locked while it is renamed, so that it is never taken for a leftover.
  if (::rename(temp.c_str(), file.c_str()) != 0) fail("cannot replace", file);
  ::close(fd);
  if (openFolder >= 0)
    ::fsync(openFolder);
  else
    syncFolder(dir);
}

}  // namespace

void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes) { replaceFile(file, bytes, -1); }

void removeLeftoverTemporaries(const std::filesystem::path& folder) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return;
  while (const dirent* e = ::readdir(d)) {
    if (!isTemporaryName(e->d_name)) continue;
    // The lock is free only when the writer is gone: a finished write leaves
    // no temporary, and a live one holds the lock.
    const int fd = ::openat(::dirfd(d), e->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat held {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        ::fstatat(::dirfd(d), e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino)
      ::unlinkat(::dirfd(d), e->d_name, 0);
    ::close(fd);
  }
  ::closedir(d);
}

FileUpdateLock::FileUpdateLock(const std::filesystem::path& file) {
  const auto dir = folderOf(file);
  fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) throwErrno("cannot open folder", dir);
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int saved = errno;
    ::close(fd_);
    errno = saved;
    throwErrno("cannot lock folder", dir);
  }
}

FileUpdateLock::~FileUpdateLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool updateFileAtomically(const std::filesystem::path& file,
                          const std::function<std::optional<std::string>(const std::optional<std::string>&)>& update) {
  // An update that leaves the file as it is takes no lock: files are only
  // ever replaced whole, so what is read is a state the file was in, and
  // leaving it so is an update made at that moment.  Most writes of a
  // profile at start-up store what is there already.
  const auto seen = readFileBytes(file);
  auto next = update(seen);
  if (!next || (seen && *seen == *next)) return false;
  FileUpdateLock lock(file);
  removeLeftoverTemporaries(folderOf(file));
  // Another writer may have changed the file meanwhile; while it is as it
  // was, the update already made from it stands.
  if (!stillHolds(file, seen)) {
    const auto current = readFileBytes(file);
    next = update(current);
    if (!next || (current && *current == *next)) return false;
  }
  replaceFile(file, *next, lock.folder());
  return true;
}

}  // namespace tw
