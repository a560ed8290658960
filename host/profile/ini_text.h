#pragma once
// The text of a profile file: how its bytes divide into lines, what each line
// is, and the edits the write functions make.  Reading and writing share this
// one reading of a line so that a key the reader finds is the key the writer
// changes.
//
// Lines end at LF, CR LF or a lone CR, as Windows reads them.  The edits work
// on byte ranges of the original text, so every line they do not touch comes
// out byte for byte: its spacing, comments, odd line ends, NULs and a missing
// final newline.  New lines end in CR LF.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw::ini {

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
  size_t begin = 0;  // first byte of the line
  size_t end = 0;    // past the last byte before the line ending
  size_t next = 0;   // first byte of the following line
  LineKind kind = LineKind::Blank;
  std::string_view name;   // Section: its name; Key: the key.  Blanks trimmed.
  std::string_view value;  // Key: everything after the first '=', blanks trimmed, quotes kept
};

// Walks the lines of a text without copying it, so that a lookup in a large
// file is one pass over its bytes.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool next(Line& line);
  // While off, key lines come back as Other: a reader looking for a section
  // skips the cost of reading keys it does not want.
  void readKeys(bool on) { keys_ = on; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  bool keys_ = true;
};

std::string_view trimBlanks(std::string_view s);
// What a C caller sees of bytes that may hold a NUL.
std::string_view cString(std::string_view s);
// A name in the file against a name asked for: the file's name as a C string,
// compared without regard to case.
bool sameName(std::string_view inFile, std::string_view wanted);
// A value in matching single or double quotes comes back without them.
std::string_view unquote(std::string_view value);

// The edits.  Each returns the new text, or nullopt when the text already
// says what was asked, so that no write happens.  Section and key names are
// expected trimmed.
std::optional<std::string> setKey(std::string_view text, std::string_view section, std::string_view key,
                                  std::string_view value);
std::optional<std::string> deleteKey(std::string_view text, std::string_view section, std::string_view key);
std::optional<std::string> deleteSection(std::string_view text, std::string_view section);
std::optional<std::string> replaceSection(std::string_view text, std::string_view section,
                                          const std::vector<std::string_view>& entries);

}  // namespace tw::ini
