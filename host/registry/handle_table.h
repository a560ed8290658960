#pragma once
// The open key handles and what a handle stands for: a stored key (by id,
// so that a handle outlives a reload of the tree), a path of HKEY_DYN_DATA,
// or one of the predefined roots.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/registry/key_tree.h"
#include "host/registry/registry.h"

namespace tw::reg {

struct Handle {
  bool dyn = false;
  int64_t id = 0;  // -1 once the key is known to be gone for good
  std::string dynPath;
};

// The key a call starts from: a stored key, or a path of HKEY_DYN_DATA.  The
// alias roots start at their real root with a path prefix.
struct Start {
  bool dyn = false;
  Key* key = nullptr;
  std::string_view prefix;
  std::string dynPath;
};

bool isPredefined(HKEY key);

class HandleTable {
 public:
  HKEY open(Handle h);
  // False when `key` is not an open handle.
  bool close(HKEY key) { return handles_.erase(key) > 0; }
  size_t size() const { return handles_.size(); }
  // HKEY_DYN_DATA itself or an open handle on one of its keys.
  bool isDyn(HKEY key) const;

  // Handles on keys whose creation was undone never reach a later key made
  // with the same id; `ids` is sorted.
  void forget(const std::vector<int64_t>& ids);

  // What `key` stands for in `tree`: ERROR_INVALID_HANDLE for a handle that
  // is not open (and for HKEY_PERFORMANCE_DATA), ERROR_KEY_DELETED for one
  // whose key is gone.
  LONG start(HKEY key, KeyTree& tree, Start& s);
  // The stored key a call on `key` itself works on; null when an alias
  // root's key does not exist.
  LONG self(HKEY key, KeyTree& tree, Start& s, Key*& out);

 private:
  std::unordered_map<HKEY, Handle> handles_;
  HKEY next_ = kFirst;

  static constexpr HKEY kFirst = 0x10000;
  static constexpr HKEY kLast = 0x7FFF0000;
};

}  // namespace tw::reg
