#include "syslib/ctl/escapes.h"

#include <cstdio>

namespace tw::ctl {

namespace {

int hexDigit(char h) {
  if (h >= '0' && h <= '9') return h - '0';
  if (h >= 'a' && h <= 'f') return h - 'a' + 10;
  if (h >= 'A' && h <= 'F') return h - 'A' + 10;
  return -1;
}

}  // namespace

bool isEscapeLetter(char letter) {
  switch (letter) {
    case '0': case '\\': case 'r': case 'n': case 't': case '"': case 'x': return true;
    default: return false;
  }
}

std::optional<size_t> decodeEscapeAt(std::string_view s, size_t at, std::string& out, std::string* error) {
  size_t i = at + 1;
  if (i >= s.size()) {
    if (error) *error = "a lone backslash ends the argument";
    return std::nullopt;
  }
  const char c = s[i++];
  switch (c) {
    case '0': out += '\0'; return i;
    case '\\': out += '\\'; return i;
    case 'r': out += '\r'; return i;
    case 'n': out += '\n'; return i;
    case 't': out += '\t'; return i;
    case '"': out += '"'; return i;
    case 'x': {
      const int hi = i < s.size() ? hexDigit(s[i]) : -1;
      const int lo = i + 1 < s.size() ? hexDigit(s[i + 1]) : -1;
      if (hi < 0 || lo < 0) {
        if (error) *error = "\\x needs two hexadecimal digits";
        return std::nullopt;
      }
      out += static_cast<char>(hi * 16 + lo);
      return i + 2;
    }
    default:
      if (error) *error = std::string("unknown escape \\") + c;
      return std::nullopt;
  }
}

std::optional<std::string> decodeEscapes(std::string_view s, std::string* error) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    if (s[i] != '\\') {
      out += s[i++];
      continue;
    }
    const auto next = decodeEscapeAt(s, i, out, error);
    if (!next) return std::nullopt;
    i = *next;
  }
  return out;
}

std::string quote(std::string_view s) {
  std::string out = "\"";
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\0': out += "\\0"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02X", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

}  // namespace tw::ctl
