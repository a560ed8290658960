#pragma once
// Small pieces the registry methods share: a key handle that is closed on
// every path out of a method, and the byte shapes of the values.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/registry/registry.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"

namespace tw {

// The access the library asks for when it only queries and deletes values:
// KEY_WRITE, KEY_QUERY_VALUE and KEY_ENUMERATE_SUB_KEYS.
constexpr reg::DWORD kQueryAndWrite = 0x2000F;

// The library's application title, used where a box has the default title.
inline constexpr const char* kLibraryTitle = "Plinth";

class KeyHandle {
 public:
  explicit KeyHandle(reg::Registry& registry) : registry_(registry) {}
  ~KeyHandle() {
    if (key_ != 0) registry_.RegCloseKey(key_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;

  reg::HKEY* out() { return &key_; }
  operator reg::HKEY() const { return key_; }  // NOLINT: reads like the platform call

 private:
  reg::Registry& registry_;
  reg::HKEY key_ = 0;
};

inline reg::HKEY rootHandle(HKeys hkey) { return static_cast<reg::HKEY>(static_cast<uint32_t>(hkey)); }

// A string handed to an ANSI function ends at its first NUL.
inline std::string cString(std::string_view s) { return std::string(beforeNul(s)); }

inline std::array<uint8_t, 4> littleEndian(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
          static_cast<uint8_t>(u >> 24)};
}

inline int32_t fromLittleEndian(const std::array<uint8_t, 4>& b) {
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                              (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

// Two upper-case hexadecimal digits and a blank for every byte: "01 00 00 00 ".
inline std::string hexDump(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
    out += ' ';
  }
  return out;
}

}  // namespace tw
