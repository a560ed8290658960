#pragma once
// The host layer's ways to read a whole file: the profile functions, the
// hive's .reg files, the snapshots and the machine's description read
// through readFileBytes; the kernel's figures under /proc, read on every
// gauge refresh, through readKernelFile.

#include <filesystem>
#include <optional>
#include <string>

namespace tw {

// The bytes of a whole file; nullopt when there is no such file (or a folder
// on its way is not one).  Files whose size is not known in advance (those
// under /proc report none) are read to their end.  A folder, pipe or device
// under the name is never waited on: it throws, as does any other failure
// (std::system_error naming the file).
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

// A file of the kernel's figures, read to its end into `buffer`, which keeps
// its memory from one read to the next.  The kernel reports no size for
// these files, so none is asked for: one system call fewer on every
// refresh.  False when the file cannot be opened or read, or reads on past
// kMaxKernelFile bytes (a device under the name); a pipe is never waited on.
// `buffer` holds the bytes read so far either way.
inline constexpr size_t kMaxKernelFile = size_t{16} << 20;
bool readKernelFile(const char* file, std::string& buffer);

}  // namespace tw
