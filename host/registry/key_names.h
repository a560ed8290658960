#pragma once
// Key and value names as the registry compares them: ANSI bytes without
// regard to case (code page 1252 rules), kept as first written; and the
// backslash paths that name a key below another.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/runtime/codepage.h"

namespace tw::reg {

// Windows 9x refuses longer key name components and value names; the library
// enumerates into 256-character buffers and relies on it.
constexpr size_t kMaxNameLength = 255;

// Case-blind hashing and comparison, so that an index keeps names as first
// written and still finds them in any case.
struct FoldHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept {
    uint64_t h = 1469598103934665603ull;
    for (char c : s) {
      h ^= kAnsiUpper[static_cast<unsigned char>(c)];
      h *= 1099511628211ull;
    }
    return static_cast<size_t>(h);
  }
};

struct FoldEq {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (kAnsiUpper[static_cast<unsigned char>(a[i])] != kAnsiUpper[static_cast<unsigned char>(b[i])]) return false;
    return true;
  }
};

inline std::string joinPath(std::string_view a, std::string_view b) {
  std::string out(a);
  if (!out.empty() && !b.empty()) out += '\\';
  out += b;
  return out;
}

// Calls `f` for each component of a backslash path until it returns false;
// empty components (a leading, trailing or doubled backslash) are skipped.
template <class F>
bool forEachComponent(std::string_view path, F&& f) {
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('\\', pos);
    if (end == std::string_view::npos) end = path.size();
    if (end > pos && !f(path.substr(pos, end - pos))) return false;
    pos = end + 1;
  }
  return true;
}

// Whether every component of a path is short enough to be a key name.
inline bool componentsFit(std::string_view path) {
  return forEachComponent(path, [](std::string_view name) { return name.size() <= kMaxNameLength; });
}

}  // namespace tw::reg
