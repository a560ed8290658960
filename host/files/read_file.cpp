#include "host/files/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace tw {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

[[noreturn]] void fail(int error, const char* what, const std::filesystem::path& file) {
  throw std::system_error(error, std::generic_category(), std::string(what) + " " + file.string());
}

}  // namespace

std::optional<std::string> readFileBytes(const std::filesystem::path& file) {
  // Not blocking, so that opening a pipe under the name cannot hang the caller.
  const FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    fail(errno, "cannot open", file);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) fail(errno, "cannot read", file);
  if (!S_ISREG(st.st_mode)) fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "is not a file:", file);
  // One byte more than the size, so that a file that has grown since is
  // seen to go on, and is read to its end.  A file that reports no size (the
  // kernel's) is read a page at a time, then in doubling pieces: the kernel's
  // settings under /proc/sys answer only a read that starts at their
  // beginning, so a first read of one byte would leave a number's first
  // digit, and the gauges read the kernel's figures several times a second,
  // so a first piece much larger than those files would be mostly cleared
  // memory never used.
  constexpr size_t kFirstPiece = 4096;
  std::string out;
  size_t have = 0;
  size_t want = st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : kFirstPiece;
  for (;;) {
    out.resize(have + want);
    const ssize_t n = ::read(fd.get(), out.data() + have, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno, "cannot read", file);
    }
    if (n == 0) break;
    have += static_cast<size_t>(n);
    want = have < out.size() ? out.size() - have : std::max(have, kFirstPiece);
  }
  out.resize(have);
  return out;
}

bool readKernelFile(const char* file, std::string& buffer) {
  const FileDescriptor fd(::open(file, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  buffer.clear();
  if (fd.get() < 0) return false;
  // The kernel's settings refuse a read of more than a few megabytes at
  // once, so no read asks for more than a piece; and the buffer never grows
  // past the largest file plus one piece, which tells a file that goes on.
  constexpr size_t kPiece = size_t{1} << 20;
  constexpr size_t kMostMemory = kMaxKernelFile + kPiece;
  size_t have = 0;
  for (;;) {
    if (buffer.capacity() == have) buffer.reserve(std::min(std::max(have * 2, size_t{4096}), kMostMemory));
    // The string's whole memory is offered to read(); what it does not fill
    // is cut off again.
    buffer.resize(buffer.capacity());
    const size_t want = std::min(buffer.size() - have, kPiece);
    const ssize_t n = ::read(fd.get(), buffer.data() + have, want);
    if (n < 0 && errno == EINTR) continue;
    if (n > 0) have += static_cast<size_t>(n);
    if (n <= 0 || have > kMaxKernelFile) {
      buffer.resize(have);
      return n == 0;
    }
  }
}

}  // namespace tw
