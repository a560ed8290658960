#pragma once
// The settings snapshot (Settings.1st, Settings.tmp): one item of the
// pending record per line, in catalogue order, numbers bare and texts in
// double quotes, CR LF, ANSI.  The tuner writes it at start-up and compares
// against it when the user leaves with "Ok"; the Uninstaller restores from it.

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/settings/catalogue.h"

namespace tw {
class CodePage;
}

namespace tw::app::snapshot {

inline constexpr int kItems = catalogue::kSettingCount;

// A snapshot that cannot be read as one: the message names the file's line
// and what is wrong with it.
class SnapshotError : public std::runtime_error {
 public:
  // "<file>, line <line>: <problem>", or without the file when it is empty.
  SnapshotError(const std::string& file, int line, const std::string& problem);
  int line() const noexcept { return line_; }
  const std::string& problem() const noexcept { return problem_; }

 private:
  int line_;
  std::string problem_;
};

// The snapshot file's bytes for `record`.  A double quote inside a text is
// doubled, so that a command line with quoted paths reads back whole.
std::string format(const PendingRecord& record, const CodePage& cp);

// The items of a snapshot file as their texts: a quoted field gives
// the text between its quotes (commas and line breaks inside quotes do not
// split it), an unquoted one the text up to the line end without its
// surrounding blanks.  Throws SnapshotError for a file that is not a
// snapshot: too few or too many items, a quote left open, text after a
// closing quote, more than one field on a line, or a numeric item that is
// not a number.
std::array<std::string, kItems> parse(std::string_view bytes, const CodePage& cp);

// Reads and parses the snapshot file at the host path `file`.  Throws
// SnapshotError (the message then starts with the file's name) or
// std::system_error when the file cannot be read.
std::array<std::string, kItems> read(const std::filesystem::path& file, const CodePage& cp);

// Writes the snapshot of `record` to the host path `file`, replacing any
// file there as a whole: a crash leaves the old file or the new one.
void write(const std::filesystem::path& file, const PendingRecord& record, const CodePage& cp);

// Whether an item read back from a snapshot stands for the same value as
// the record's field: numbers by value, texts exactly.
bool sameValue(const catalogue::Setting& s, const std::string& item, const PendingRecord& record);

}  // namespace tw::app::snapshot
