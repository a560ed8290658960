#pragma once
// The hive file: made whole when it is missing, and refused, untouched, when
// it is not a hive this program can use.  The hive is an SQLite database:
//
//   keys(id, parent, name, folded)        the tree; folded is the name in
//                                         capitals, unique among siblings
//   vals(id, key, name, folded, type, data)
//
// The stored roots hang below one hidden top key, so that every stored key
// has a parent and the whole tree deletes and loads the same way.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "host/registry/registry.h"

namespace tw::reg {

constexpr int64_t kTopKeyId = 1;
constexpr const char* kLocalMachineName = "HKEY_LOCAL_MACHINE";
constexpr const char* kUsersName = "HKEY_USERS";

// Throws HiveError naming the file and what is wrong with it.
[[noreturn]] void hiveFail(const std::filesystem::path& file, const std::string& what, bool unusable = false);

// A connection to the checked hive at `file` (made first when it is missing
// or empty and `opening` allows it), in WAL mode with every commit durable
// and foreign keys on.  Throws HiveError when the file cannot be used; a
// refused file is left exactly as it was.
sqlite3* openHive(const std::filesystem::path& file, HiveOpening opening);

}  // namespace tw::reg
