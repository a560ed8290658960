#include "host/runtime/vbconv.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>

#include "host/runtime/errors.h"

namespace tw {

double roundHalfEven(double x) {
  const double r = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5) return 2.0 * std::round(x / 2.0);
  return r;
}

int32_t toLong(double x) {
  if (std::isnan(x)) raise(ErrNo::Overflow);
  const double r = roundHalfEven(x);
  if (r < -2147483648.0 || r > 2147483647.0) raise(ErrNo::Overflow);
  return static_cast<int32_t>(r);
}

int16_t toInteger(double x) {
  if (std::isnan(x)) raise(ErrNo::Overflow);
  const double r = roundHalfEven(x);
  if (r < -32768.0 || r > 32767.0) raise(ErrNo::Overflow);
  return static_cast<int16_t>(r);
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads a &H or &O literal starting at s[i] == '&'.  A hexadecimal literal of
// at most 4 digits is a 16-bit Integer (so &HFFFF is -1), as the runtime reads it.
std::optional<double> radixLiteral(std::string_view s, size_t& i, bool skipInnerBlanks) {
  if (i + 1 >= s.size()) return std::nullopt;
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i + 1])));
  const unsigned base = kind == 'H' ? 16u : kind == 'O' ? 8u : 0u;
  if (base == 0) return std::nullopt;
  i += 2;
  uint64_t value = 0;
  int digits = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (skipInnerBlanks && isBlank(c)) { ++i; continue; }
    const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                  : (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
                      ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                      : -1;
    if (d < 0 || static_cast<unsigned>(d) >= base) break;
    value = value * base + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFull) value &= 0xFFFFFFFFull;
    ++digits;
    ++i;
  }
  if (digits == 0) return 0.0;
  const bool small = base == 16 ? digits <= 4 : value <= 0xFFFF;
  if (small) return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

}  // namespace

double val(std::string_view s) {
  // Val ignores blanks wherever they stand, so strip them first.
  std::string t;
  t.reserve(s.size());
  for (char c : s)
    if (!isBlank(c)) t += c;
  size_t i = 0;
  if (i < t.size() && t[i] == '&') {
    auto v = radixLiteral(t, i, false);
    return v.value_or(0.0);
  }
  size_t start = i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool digits = false;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) { ++i; digits = true; }
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) { ++i; digits = true; }
  }
  if (!digits) return 0.0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
    size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    if (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) {
      while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j;
      t[i] = 'e';
      i = j;
    }
  }
  std::string number = t.substr(start, i - start);
  const double v = std::strtod(number.c_str(), nullptr);
  if (std::isinf(v)) raise(ErrNo::Overflow);
  return v;
}

std::optional<double> parseNumber(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  std::string_view t = s.substr(b, e - b);
  if (t.empty()) return std::nullopt;
  size_t i = 0;
  if (t[0] == '&') {
    auto v = radixLiteral(t, i, false);
    if (!v || i != t.size()) return std::nullopt;
    return v;
  }
  std::string buf(t);
  for (char& c : buf)
    if (c == 'd' || c == 'D') c = 'e';
  if (buf.find_first_of("xXpP") != std::string::npos) return std::nullopt;  // no C99 hex floats
  if (buf == "+" || buf == "-" || buf == "." ) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(buf.c_str(), &end);
  if (end != buf.c_str() + buf.size()) return std::nullopt;
  if (std::isnan(v) || std::isinf(v)) return std::nullopt;
  return v;
}

std::string numberToText(double x) {
  if (x == 0) return "0";
  // A whole number of up to 15 digits prints as its digits under %.15G; the
  // gauges' captions format a handful of them on every tick.
  constexpr double kLargestExact = 1e15;
  if (std::trunc(x) == x && std::fabs(x) < kLargestExact) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<int64_t>(x)).ptr;
    return std::string(digits, end);
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", x);
  std::string s = buf;
  const auto epos = s.find('E');
  std::string mantissa = epos == std::string::npos ? s : s.substr(0, epos);
  std::string exponent = epos == std::string::npos ? "" : s.substr(epos);
  if (mantissa.find('.') != std::string::npos) {
    while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
  }
  if (!exponent.empty()) {
    // E+05 -> E+5, as the runtime prints it
    const char sign = exponent[1];
    std::string digits = exponent.substr(2);
    while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
    exponent = std::string("E") + sign + digits;
  }
  // The runtime prints 0.5 as "0.5" and -0.5 as "-0.5": %G already does.
  return mantissa + exponent;
}

std::string str(double x) {
  std::string t = numberToText(x);
  return (x >= 0 && !std::signbit(x)) ? " " + t : t;
}

std::string hex(uint32_t x) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", x);
  return buf;
}

std::string left(std::string_view s, long long n) {
  if (n < 0) raise(ErrNo::InvalidProcedureCall);
  return std::string(s.substr(0, static_cast<size_t>(std::min<long long>(n, static_cast<long long>(s.size())))));
}

std::string mid(std::string_view s, long long start, long long length) {
  if (start < 1) raise(ErrNo::InvalidProcedureCall);
  const auto from = static_cast<size_t>(start - 1);
  if (from >= s.size()) return {};
  if (length < 0) return std::string(s.substr(from));
  return std::string(s.substr(from, static_cast<size_t>(length)));
}

std::string_view beforeNul(std::string_view s) {
  const auto p = s.find('\0');
  return p == std::string_view::npos ? s : s.substr(0, p);
}

}  // namespace tw
