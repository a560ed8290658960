#include "host/registry/registry.h"

#include <cstring>
#include <mutex>
#include <new>

#include "host/registry/handle_table.h"
#include "host/registry/hive_file.h"
#include "host/registry/hive_store.h"
#include "host/runtime/vbconv.h"

namespace tw::reg {
namespace {

// The registry functions report failures by their result, never by an
// exception.
template <class F>
LONG guarded(F&& f) noexcept {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return ERROR_OUTOFMEMORY;
  } catch (...) {
    return ERROR_REGISTRY_IO_FAILED;
  }
}

LONG deliver(DWORD valueType, std::string_view bytes, DWORD* type, uint8_t* data, DWORD* size) {
  if (data && !size) return ERROR_INVALID_PARAMETER;
  const auto n = static_cast<DWORD>(bytes.size());
  if (type) *type = valueType;
  if (data) {
    if (*size < n) {
      *size = n;
      return ERROR_MORE_DATA;
    }
    if (n) std::memcpy(data, bytes.data(), n);
  }
  if (size) *size = n;
  return ERROR_SUCCESS;
}

// Copies a name and its NUL when the buffer holds both.
bool deliverName(std::string_view name, char* buf, DWORD* len) {
  if (*len < name.size() + 1) return false;
  std::memcpy(buf, name.data(), name.size());
  buf[name.size()] = '\0';
  *len = static_cast<DWORD>(name.size());
  return true;
}

}  // namespace

std::optional<DynValue> DynDataSource::value(std::string_view path, std::string_view name) {
  const FoldEq eq;
  for (auto& v : values(path))
    if (eq(v.name, name)) return std::move(v);
  return std::nullopt;
}

struct Registry::Impl {
  Impl(const std::filesystem::path& hiveFile, HiveOpening opening) : file(hiveFile), store(hiveFile, opening) {
    store.onKeysUndone([this](const std::vector<int64_t>& ids) { handles.forget(ids); });
  }

  std::filesystem::path file;
  mutable std::recursive_mutex mutex;
  HiveStore store;
  HandleTable handles;
  std::shared_ptr<DynDataSource> dyn;

  LONG start(HKEY key, Start& s) { return handles.start(key, store.tree(), s); }
  LONG self(HKEY key, Start& s, Key*& out) { return handles.self(key, store.tree(), s, out); }
  Key* find(Key* from, std::string_view path) { return store.tree().find(from, path); }
  HKEY newHandle(Handle h) { return handles.open(std::move(h)); }

  // The hive as other programs left it.  HKEY_DYN_DATA is not in the hive,
  // so their writes cannot change it: its calls skip the look at the hive's
  // version, which would otherwise be most of what a live gauge costs.
  LONG refreshFor(HKEY key) { return handles.isDyn(key) ? ERROR_SUCCESS : store.refresh(); }

  // Where a subkey is looked for.
  LONG begin(HKEY key, Start& s) {
    if (LONG rc = refreshFor(key); rc != ERROR_SUCCESS) return rc;
    return start(key, s);
  }

  // A key of HKEY_DYN_DATA opens when the live source has it; `missing` is
  // the caller's answer when it has not (nothing can be created there).
  LONG openDyn(const Start& s, std::string_view subKey, LONG missing, HKEY* result) {
    std::string path = joinPath(s.dynPath, subKey);
    if (!path.empty() && !(dyn && dyn->keyExists(path))) return missing;
    *result = newHandle(Handle{true, 0, std::move(path)});
    return ERROR_SUCCESS;
  }

  LONG validate(HKEY key) {
    std::lock_guard lock(mutex);
    return guarded([&]() -> LONG {
      Start s;
      return begin(key, s);
    });
  }
};



Registry::Registry(const std::filesystem::path& hiveFile, HiveOpening opening)
    : impl_(std::make_unique<Impl>(hiveFile, opening)) {}

Registry::~Registry() = default;

void Registry::setDynData(std::shared_ptr<DynDataSource> source) {
  std::lock_guard lock(impl_->mutex);
  impl_->dyn = std::move(source);
}

LONG Registry::RegCreateKeyEx(HKEY key, std::string_view subKey, DWORD, std::string_view, DWORD, DWORD, HKEY* result,
                              DWORD* disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = 0;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    subKey = beforeNul(subKey);
    Start s;
    if (LONG rc = d.begin(key, s); rc != ERROR_SUCCESS) return rc;
    if (s.dyn) {
      const LONG rc = d.openDyn(s, subKey, ERROR_ACCESS_DENIED, result);
      if (rc == ERROR_SUCCESS && disposition) *disposition = REG_OPENED_EXISTING_KEY;
      return rc;
    }
    // Opening an existing key needs no write lock: the library creates the
    // key before every value it writes.
    const std::string path = s.prefix.empty() ? std::string(subKey) : joinPath(s.prefix, subKey);
    if (Key* k = d.find(s.key, path)) {
      *result = d.newHandle(Handle{false, k->id, {}});
      if (disposition) *disposition = REG_OPENED_EXISTING_KEY;
      return ERROR_SUCCESS;
    }
    // A name that cannot be made is refused before anything is written, so a
    // failed call leaves no half-made path behind.  Windows 9x answers a
    // subkey string it cannot hold with ERROR_BADKEY.
    if (!componentsFit(path)) return ERROR_BADKEY;
    bool made = false;
    int64_t id = 0;
    const LONG rc = d.store.write([&]() -> LONG {
      Start w;
      if (LONG r = d.start(key, w); r != ERROR_SUCCESS) return r;
      Key* k = nullptr;
      const LONG r = d.store.createPath(w.key, path, k, made);
      if (r == ERROR_SUCCESS) id = k->id;
      return r;
    });
    if (rc != ERROR_SUCCESS) return rc;
    *result = d.newHandle(Handle{false, id, {}});
    if (disposition) *disposition = made ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
  });
}

// The old forms give back the very handle passed in for an empty subkey, as
// the platform documents; they make no new handle to close.
LONG Registry::RegCreateKey(HKEY key, std::string_view subKey, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  if (beforeNul(subKey).empty()) return sameHandle(key, result);
  return RegCreateKeyEx(key, subKey, 0, "", 0, KEY_ALL_ACCESS, result, nullptr);
}

LONG Registry::sameHandle(HKEY key, HKEY* result) {
  const LONG rc = impl_->validate(key);
  *result = rc == ERROR_SUCCESS ? key : 0;
  return rc;
}

LONG Registry::RegOpenKeyEx(HKEY key, std::string_view subKey, DWORD, DWORD, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = 0;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    subKey = beforeNul(subKey);
    Start s;
    if (LONG rc = d.begin(key, s); rc != ERROR_SUCCESS) return rc;
    if (s.dyn) return d.openDyn(s, subKey, ERROR_FILE_NOT_FOUND, result);
    Key* k = s.prefix.empty() ? d.find(s.key, subKey) : d.find(d.find(s.key, s.prefix), subKey);
    if (!k) return ERROR_FILE_NOT_FOUND;
    *result = d.newHandle(Handle{false, k->id, {}});
    return ERROR_SUCCESS;
  });
}

LONG Registry::RegOpenKey(HKEY key, std::string_view subKey, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  if (beforeNul(subKey).empty()) return sameHandle(key, result);
  return RegOpenKeyEx(key, subKey, 0, KEY_ALL_ACCESS, result);
}

LONG Registry::RegCloseKey(HKEY key) {
  auto& d = *impl_;
  std::lock_guard lock(d.mutex);
  if (key == HKEY_PERFORMANCE_DATA) return ERROR_INVALID_HANDLE;
  if (isPredefined(key)) return ERROR_SUCCESS;
  return d.handles.close(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG Registry::RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, uint8_t* data, DWORD* size) {
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    const std::string_view name = valueName ? valueName : "";
    if (LONG rc = d.refreshFor(key); rc != ERROR_SUCCESS) return rc;
    Start s;
    Key* k = nullptr;
    if (LONG rc = d.self(key, s, k); rc != ERROR_SUCCESS) return rc;
    if (s.dyn) {
      const auto v = d.dyn ? d.dyn->value(s.dynPath, name) : std::nullopt;
      if (!v) return ERROR_FILE_NOT_FOUND;
      return deliver(v->type, std::string_view(reinterpret_cast<const char*>(v->data.data()), v->data.size()), type,
                     data, size);
    }
    if (!k) return ERROR_FILE_NOT_FOUND;
    const FoldEq eq;
    for (const auto& v : k->values)
      if (eq(v.name, name)) return deliver(v.type, v.data, type, data, size);
    return ERROR_FILE_NOT_FOUND;
  });
}

LONG Registry::RegSetValueEx(HKEY key, const char* valueName, DWORD, DWORD type, const uint8_t* data, DWORD size) {
  if (!data && size > 0) return ERROR_INVALID_PARAMETER;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    const std::string_view name = valueName ? valueName : "";
    if (name.size() > kMaxNameLength) return ERROR_INVALID_PARAMETER;
    const std::string_view bytes = size ? std::string_view(reinterpret_cast<const char*>(data), size) : "";
    return d.store.write([&]() -> LONG {
      Start s;
      if (LONG rc = d.start(key, s); rc != ERROR_SUCCESS) return rc;
      if (s.dyn) return ERROR_ACCESS_DENIED;
      Key* k = s.key;
      if (!s.prefix.empty()) {
        bool made = false;
        if (LONG rc = d.store.createPath(s.key, s.prefix, k, made); rc != ERROR_SUCCESS) return rc;
      }
      return d.store.setValue(*k, name, type, bytes);
    });
  });
}

LONG Registry::RegDeleteValue(HKEY key, const char* valueName) {
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    const std::string_view name = valueName ? valueName : "";
    return d.store.write([&]() -> LONG {
      Start s;
      Key* k = nullptr;
      if (LONG rc = d.self(key, s, k); rc != ERROR_SUCCESS) return rc;
      if (s.dyn) return ERROR_ACCESS_DENIED;
      if (!k) return ERROR_FILE_NOT_FOUND;
      return d.store.removeValue(*k, name);
    });
  });
}

LONG Registry::RegDeleteKey(HKEY key, std::string_view subKey) {
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    subKey = beforeNul(subKey);
    bool emptyPath = true;
    forEachComponent(subKey, [&](std::string_view) { return emptyPath = false; });
    // A root cannot be deleted, nor can the key an alias root stands for.
    if (isPredefined(key) && key != HKEY_PERFORMANCE_DATA && emptyPath) return ERROR_ACCESS_DENIED;
    return d.store.write([&]() -> LONG {
      Start s;
      if (LONG rc = d.start(key, s); rc != ERROR_SUCCESS) return rc;
      if (s.dyn) return ERROR_ACCESS_DENIED;
      Key* k = s.prefix.empty() ? d.find(s.key, subKey) : d.find(d.find(s.key, s.prefix), subKey);
      if (!k) return ERROR_FILE_NOT_FOUND;
      if (!k->parent || k->parent->id == kTopKeyId) return ERROR_ACCESS_DENIED;
      return d.store.removeKey(*k);
    });
  });
}

LONG Registry::RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameLen, char* cls, DWORD* clsLen) {
  if (!name || !nameLen) return ERROR_INVALID_PARAMETER;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    if (LONG rc = d.refreshFor(key); rc != ERROR_SUCCESS) return rc;
    Start s;
    Key* k = nullptr;
    if (LONG rc = d.self(key, s, k); rc != ERROR_SUCCESS) return rc;
    std::string dynName;
    std::string_view found;
    if (s.dyn) {
      if (!d.dyn) return ERROR_NO_MORE_ITEMS;
      auto names = d.dyn->subkeys(s.dynPath);
      if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
      dynName = std::move(names[index]);
      found = dynName;
    } else {
      if (!k || index >= k->children.size()) return ERROR_NO_MORE_ITEMS;
      found = k->children[index]->name;
    }
    if (!deliverName(found, name, nameLen)) return ERROR_MORE_DATA;
    // Keys have no class here: the class is always empty.
    if (clsLen) {
      if (cls && *clsLen > 0) cls[0] = '\0';
      *clsLen = 0;
    }
    return ERROR_SUCCESS;
  });
}

LONG Registry::RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameLen, DWORD* type, uint8_t* data,
                            DWORD* dataLen) {
  if (!name || !nameLen) return ERROR_INVALID_PARAMETER;
  if (data && !dataLen) return ERROR_INVALID_PARAMETER;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    if (LONG rc = d.refreshFor(key); rc != ERROR_SUCCESS) return rc;
    Start s;
    Key* k = nullptr;
    if (LONG rc = d.self(key, s, k); rc != ERROR_SUCCESS) return rc;
    DynValue dynValue;
    std::string_view valueName, bytes;
    DWORD valueType = REG_NONE;
    if (s.dyn) {
      if (!d.dyn) return ERROR_NO_MORE_ITEMS;
      auto values = d.dyn->values(s.dynPath);
      if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
      dynValue = std::move(values[index]);
      valueName = dynValue.name;
      valueType = dynValue.type;
      bytes = std::string_view(reinterpret_cast<const char*>(dynValue.data.data()), dynValue.data.size());
    } else {
      if (!k || index >= k->values.size()) return ERROR_NO_MORE_ITEMS;
      const Value& v = k->values[index];
      valueName = v.name;
      valueType = v.type;
      bytes = v.data;
    }
    if (!deliverName(valueName, name, nameLen)) return ERROR_MORE_DATA;
    return deliver(valueType, bytes, type, data, dataLen);
  });
}

bool Registry::transaction(const std::function<bool()>& work) {
  std::lock_guard lock(impl_->mutex);
  return impl_->store.transaction(work);
}

void Registry::readTogether(const std::function<void()>& work) {
  std::lock_guard lock(impl_->mutex);
  impl_->store.beginReadGroup();
  try {
    work();
  } catch (...) {
    impl_->store.endReadGroup();
    throw;
  }
  impl_->store.endReadGroup();
}

size_t Registry::openHandleCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->handles.size();
}

const std::filesystem::path& Registry::file() const { return impl_->file; }

}  // namespace tw::reg
