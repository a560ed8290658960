#pragma once
// The private-profile (INI) functions, with the behaviour Windows gives them,
// on real files of the machine.
//
// Names and values are ANSI bytes; a null pointer is the null string, which
// is not the same as "" (a null value deletes a key, a null key a section).
// A file name without a folder ("System.ini") is looked up in the machine's
// Windows folder; other names are Windows paths ("C:\\Program Files\\...").
//
// Reading: section and key names match without regard to case; blanks around
// names and values are ignored; a value in matching single or double quotes
// comes back without them; lines without '=' are not keys; the first of
// duplicate sections or keys wins; the value is everything after the first
// '='.  Results are cut to the caller's buffer as Windows cuts them.
//
// Writing: lines the write does not touch stay byte for byte as they were;
// new lines end in CR LF; each write replaces the file atomically under a
// lock, so that a crash or a second writer never leaves half a file.

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace tw {

class Machine;

class Profile {
 public:
  explicit Profile(const Machine& machine);

  // GetPrivateProfileStringA.  With a null key, returns the section's key
  // names (each ended by NUL, the list by a second NUL); with a null section,
  // the section names.  Returns the number of characters copied, without the
  // terminating NUL.
  uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                   uint32_t size, std::string_view fileName) const;

  // GetPrivateProfileSectionNamesA: every section name, each ended by NUL,
  // the list ended by a second NUL.  Returns the characters copied without
  // the final NUL (size - 2 when cut short).
  uint32_t GetPrivateProfileSectionNames(char* buffer, uint32_t size, std::string_view fileName) const;

  // GetPrivateProfileSectionA: the section's lines "key=value", each ended by
  // NUL, the list ended by a second NUL.
  uint32_t GetPrivateProfileSection(const char* section, char* buffer, uint32_t size, std::string_view fileName) const;

  // WritePrivateProfileStringA.  A null value deletes the key; a null key
  // deletes the whole section (every section of that name).  Returns false
  // when the file cannot be written or is read-only, when section is null,
  // and when the text would not read back as written (a line break, a ']' in
  // the section name, a '=' in the key, a key that reads as a comment); the
  // file is then left as it was.
  bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                                 std::string_view fileName) const;

  // WritePrivateProfileSectionA: `contents` is "key=value\0key=value\0\0"; the
  // section's lines are replaced by them (the blank lines before the next
  // section stay).  "" leaves the section without keys; null deletes the
  // section.  A line that would break the file (a line break, a header) makes
  // it return false without writing.
  bool WritePrivateProfileSection(const char* section, const char* contents, std::string_view fileName) const;

  // The host file a profile name refers to.
  std::filesystem::path resolve(std::string_view fileName) const;

 private:
  const Machine& machine_;
};

}  // namespace tw
