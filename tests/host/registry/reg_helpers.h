#pragma once
// Short forms of the registry calls for the tests of the hive.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/registry/registry.h"

namespace tw::reg {

inline const uint8_t* bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

// A REG_SZ as the library writes it: the text and one NUL.
inline LONG setSz(Registry& r, HKEY key, const char* name, const std::string& text) {
  return r.RegSetValueEx(key, name, 0, REG_SZ, bytes(text), static_cast<DWORD>(text.size() + 1));
}

// A value's type and bytes as stored; nullopt on any failure.
inline std::optional<std::pair<DWORD, std::string>> queryValue(Registry& r, HKEY key, const char* name) {
  DWORD type = 0, size = 0;
  if (r.RegQueryValueEx(key, name, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  std::string buf(size, '\0');
  if (r.RegQueryValueEx(key, name, &type, reinterpret_cast<uint8_t*>(buf.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::pair{type, buf};
}

// queryValue of a value of root\path; nullopt also when the key is missing.
inline std::optional<std::pair<DWORD, std::string>> queryValue(Registry& r, HKEY root, std::string_view path,
                                                               const char* name) {
  HKEY k = 0;
  if (r.RegOpenKeyEx(root, path, 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
  auto value = queryValue(r, k, name);
  r.RegCloseKey(k);
  return value;
}

// Any value's bytes, the NUL of a REG_SZ taken off.
inline std::optional<std::string> withoutNul(std::optional<std::pair<DWORD, std::string>> value) {
  if (!value) return std::nullopt;
  auto& [type, data] = *value;
  if (type == REG_SZ && !data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

inline std::optional<std::string> querySz(Registry& r, HKEY key, const char* name) {
  return withoutNul(queryValue(r, key, name));
}

inline std::optional<std::string> querySz(Registry& r, HKEY root, std::string_view path, const char* name) {
  return withoutNul(queryValue(r, root, path, name));
}

// A key made (or opened) with all access; a failure is reported and gives 0.
inline HKEY create(Registry& r, HKEY root, std::string_view path) {
  HKEY k = 0;
  EXPECT_EQ(r.RegCreateKeyEx(root, path, 0, "", 0, KEY_ALL_ACCESS, &k, nullptr), ERROR_SUCCESS) << path;
  return k;
}

// The names `enumerate(index, buffer, length)` gives from index 0 until it fails.
template <class Enumerate>
std::vector<std::string> namesOf(Enumerate enumerate) {
  std::vector<std::string> out;
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD len = sizeof name;
    if (enumerate(i, name, &len) != ERROR_SUCCESS) return out;
    out.emplace_back(name, len);
  }
}

inline std::vector<std::string> subkeyNames(Registry& r, HKEY key) {
  return namesOf([&](DWORD i, char* name, DWORD* len) { return r.RegEnumKeyEx(key, i, name, len, nullptr, nullptr); });
}

inline std::vector<std::string> valueNames(Registry& r, HKEY key) {
  return namesOf(
      [&](DWORD i, char* name, DWORD* len) { return r.RegEnumValue(key, i, name, len, nullptr, nullptr, nullptr); });
}

}  // namespace tw::reg
