#pragma once
// Conversion between the library's wide strings (held as UTF-8) and the
// machine's ANSI code page, and the code page's case rules.  Written by hand
// because it must match Windows exactly: characters the code page lacks
// become '?', and the five unassigned bytes of 1252 map to the C1 controls.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

class CodePage {
 public:
  explicit CodePage(unsigned number = 1252);

  unsigned number() const noexcept { return number_; }

  // UTF-8 -> ANSI bytes; an unmappable character or a broken UTF-8 byte gives '?'.
  std::string toAnsi(std::string_view utf8) const;
  // ANSI bytes -> UTF-8.
  std::string fromAnsi(std::string_view ansi) const;

 private:
  unsigned number_;
};

// Each ANSI (1252) byte in upper case, as the registry, the profile
// functions and the file system compare names: a table, because every
// case-blind look-up goes through it byte by byte.
extern const std::array<unsigned char, 256> kAnsiUpper;
inline unsigned char ansiUpper(unsigned char c) noexcept { return kAnsiUpper[c]; }
std::string ansiFold(std::string_view s);
bool ansiEqualNoCase(std::string_view a, std::string_view b) noexcept;

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t cp);

}  // namespace tw
