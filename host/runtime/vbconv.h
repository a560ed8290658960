#pragma once
// The language runtime's number rules, used everywhere in the programs:
// rounding halves to even, the leading-number conversion of text, 16- and
// 32-bit overflow, and number-to-text with its leading blank.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

// Nearest whole number, a half going to the even neighbour (CLng, CInt, Round).
double roundHalfEven(double x);

// CLng / CInt of a floating-point number: rounds half to even, raises Overflow.
int32_t toLong(double x);
int16_t toInteger(double x);

// Val: the number at the start of the text; blanks, tabs and line feeds are
// skipped anywhere, &H and &O prefixes read hexadecimal and octal; text that
// does not start with a number gives 0.
double val(std::string_view text);

// Parses text the way CDbl/CLng accept it: the whole text, surrounded by
// blanks, must be a number (or &H/&O form).  nullopt means Type mismatch.
std::optional<double> parseNumber(std::string_view text);

// CStr of a Double: up to 15 significant digits, no leading blank.
std::string numberToText(double x);
// Str: the same with a leading blank for numbers that are not negative.
std::string str(double x);

// Hex$ of a 32-bit value: upper case, no leading zeros.
std::string hex(uint32_t x);

// Left$/Mid$ that raise Invalid procedure call for a negative length,
// as the runtime does.
std::string left(std::string_view s, long long n);
std::string mid(std::string_view s, long long start, long long length = -1);

// The text before the first NUL character.
std::string_view beforeNul(std::string_view s);

}  // namespace tw
