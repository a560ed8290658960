#pragma once
// The escapes plinthctl reads in arguments (with --escapes) and writes in
// every printed string, so that NULs, padding and line ends are visible.

#include <optional>
#include <string>
#include <string_view>

namespace tw::ctl {

// \0 \\ \" \r \n \t \xHH; nullopt (with the reason in *error) for a bad escape.
std::optional<std::string> decodeEscapes(std::string_view text, std::string* error);

// Whether `letter` after a backslash starts one of the escapes above.
bool isEscapeLetter(char letter);

// Decodes the one escape whose backslash is at text[at], appending its
// character to `out`; returns the index just past it, or nullopt (with the
// reason in *error) for a bad escape.
std::optional<size_t> decodeEscapeAt(std::string_view text, size_t at, std::string& out, std::string* error);

// Quotes a string: "..." with \0 \\ \" \r \n \t, and \xHH for other control
// characters.  Bytes >= 0x80 are kept (the text is UTF-8).
std::string quote(std::string_view text);

}  // namespace tw::ctl
