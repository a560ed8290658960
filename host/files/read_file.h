#pragma once
// The host layer's one way to read a whole file: the profile functions, the
// hive's .reg files, the snapshots, the machine's description and the
// figures under /proc all read through it.

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

}  // namespace tw
