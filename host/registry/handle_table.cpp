#include "host/registry/handle_table.h"

#include <algorithm>

namespace tw::reg {

bool isPredefined(HKEY key) { return key >= HKEY_CLASSES_ROOT && key <= HKEY_DYN_DATA; }

// Values go round the whole range before one is given again, so that a
// handle closed twice is refused instead of closing a newer one.
HKEY HandleTable::open(Handle h) {
  for (;;) {
    const HKEY v = next_;
    next_ = next_ >= kLast ? kFirst : next_ + 4;
    if (handles_.find(v) == handles_.end()) {
      handles_.emplace(v, std::move(h));
      return v;
    }
  }
}

bool HandleTable::isDyn(HKEY key) const {
  if (key == HKEY_DYN_DATA) return true;
  const auto it = handles_.find(key);
  return it != handles_.end() && it->second.dyn;
}

void HandleTable::forget(const std::vector<int64_t>& ids) {
  for (auto& [value, h] : handles_)
    if (!h.dyn && std::binary_search(ids.begin(), ids.end(), h.id)) h.id = -1;
}

LONG HandleTable::start(HKEY key, KeyTree& tree, Start& s) {
  switch (key) {
    case HKEY_LOCAL_MACHINE:
      s.key = tree.localMachine();
      break;
    case HKEY_USERS:
      s.key = tree.users();
      break;
    case HKEY_CLASSES_ROOT:
      s.key = tree.localMachine();
      s.prefix = "SOFTWARE\\Classes";
      break;
    case HKEY_CURRENT_USER:
      s.key = tree.users();
      s.prefix = ".DEFAULT";
      break;
    case HKEY_CURRENT_CONFIG:
      s.key = tree.localMachine();
      s.prefix = "Config\\0001";
      break;
    case HKEY_DYN_DATA:
      s.dyn = true;
      return ERROR_SUCCESS;
    case HKEY_PERFORMANCE_DATA:
      return ERROR_INVALID_HANDLE;
    default: {
      auto it = handles_.find(key);
      if (it == handles_.end()) return ERROR_INVALID_HANDLE;
      if (it->second.dyn) {
        s.dyn = true;
        s.dynPath = it->second.dynPath;
        return ERROR_SUCCESS;
      }
      s.key = it->second.id > 0 ? tree.byId(it->second.id) : nullptr;
      if (!s.key) {
        it->second.id = -1;  // stays deleted even if the id is used again
        return ERROR_KEY_DELETED;
      }
      return ERROR_SUCCESS;
    }
  }
  return s.key ? ERROR_SUCCESS : ERROR_BADDB;
}

LONG HandleTable::self(HKEY key, KeyTree& tree, Start& s, Key*& out) {
  const LONG rc = start(key, tree, s);
  if (rc != ERROR_SUCCESS || s.dyn) return rc;
  out = s.prefix.empty() ? s.key : tree.find(s.key, s.prefix);
  return ERROR_SUCCESS;
}

}  // namespace tw::reg
