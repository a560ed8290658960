#include "host/runtime/codepage.h"

#include <array>

namespace tw {
namespace {

// Bytes 0x80-0x9F of code page 1252; the unassigned ones keep their own value.
constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Where the ASCII run starting at `from` ends: ASCII (NUL bytes included)
// is the same in both encodings and is copied whole.
size_t asciiRunEnd(std::string_view text, size_t from) {
  while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80) ++from;
  return from;
}

char32_t byteToCodePoint(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) return kHigh1252[b - 0x80u];
  return b;
}

int codePointToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (size_t i = 0; i < kHigh1252.size(); ++i)
    if (kHigh1252[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

// Decodes one UTF-8 sequence at s[i]; returns the code point and advances i,
// or returns U+FFFD and advances one byte when the sequence is broken.
char32_t decodeUtf8(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1Fu) : len == 3 ? (b0 & 0x0Fu) : (b0 & 0x07u);
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3Fu);
  }
  i += static_cast<size_t>(len);
  return cp;
}

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

CodePage::CodePage(unsigned number) : number_(number) {}

std::string CodePage::toAnsi(std::string_view utf8) const {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const size_t end = asciiRunEnd(utf8, i);
    out.append(utf8.data() + i, end - i);
    i = end;
    if (i == utf8.size()) break;
    const int b = codePointToByte(decodeUtf8(utf8, i));
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

std::string CodePage::fromAnsi(std::string_view ansi) const {
  std::string out;
  out.reserve(ansi.size());
  for (size_t i = 0; i < ansi.size();) {
    const size_t end = asciiRunEnd(ansi, i);
    out.append(ansi.data() + i, end - i);
    if (end == ansi.size()) break;
    appendUtf8(out, byteToCodePoint(static_cast<unsigned char>(ansi[end])));
    i = end + 1;
  }
  return out;
}

namespace {

unsigned char upperOf(unsigned char c) noexcept {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // s with caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z with caron
    case 0xFF: return 0x9F;  // y with diaeresis
    default: return c;
  }
}

}  // namespace

const std::array<unsigned char, 256> kAnsiUpper = [] {
  std::array<unsigned char, 256> t{};
  for (size_t i = 0; i < t.size(); ++i) t[i] = upperOf(static_cast<unsigned char>(i));
  return t;
}();

std::string ansiFold(std::string_view s) {
  std::string out(s);
  for (char& ch : out) ch = static_cast<char>(ansiUpper(static_cast<unsigned char>(ch)));
  return out;
}

bool ansiEqualNoCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ansiUpper(static_cast<unsigned char>(a[i])) != ansiUpper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace tw
