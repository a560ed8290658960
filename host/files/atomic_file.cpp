#include "host/files/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
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

void syncFolder(const std::filesystem::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // the data is safe; only the rename's durability is at stake
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::optional<std::string> readFileBytes(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throwErrno("cannot open", file);
  }
  std::string out;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      errno = saved;
      throwErrno("cannot read", file);
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return out;
}

void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
  const auto dir = folderOf(file);
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  const auto temp = dir / ("." + file.filename().string() + ".tmp" + std::to_string(rng() % 1000000000ull));
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) throwErrno("cannot create", temp);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      errno = saved;
      throwErrno("cannot write", temp);
    }
    done += static_cast<size_t>(n);
  }
  // Keep the permissions of the file being replaced.
  struct stat st {};
  if (::stat(file.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    throwErrno("cannot flush", temp);
  }
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    throwErrno("cannot replace", file);
  }
  syncFolder(dir);
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
  {
    const auto current = readFileBytes(file);
    const auto next = update(current);
    if (!next || (current && *current == *next)) return false;
  }
  FileUpdateLock lock(file);
  auto current = readFileBytes(file);
  auto next = update(current);
  if (!next) return false;
  if (current && *current == *next) return false;
  writeFileAtomically(file, *next);
  return true;
}

}  // namespace tw
