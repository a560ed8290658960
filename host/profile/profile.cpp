#include "host/profile/profile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/files/atomic_file.h"
#include "host/machine/machine.h"
#include "host/profile/ini_text.h"

namespace tw {
namespace {

using ini::Line;
using ini::LineKind;

// Windows reads a profile afresh when it changes; reading the file on every
// call costs microseconds for a file of this kind and can never serve a value
// another program has since replaced.  A file that cannot be read (or a
// folder or pipe under the name) reads as a missing one, which is what
// Windows reports for it.
std::string readProfile(const std::filesystem::path& file) {
  try {
    auto bytes = readFileBytes(file);
    return bytes ? std::move(*bytes) : std::string();
  } catch (const std::exception&) {
    return std::string();
  }
}

// One string into the caller's buffer, cut to size - 1 characters.
uint32_t copyString(char* buffer, uint32_t size, std::string_view text) {
  const size_t n = std::min<size_t>(text.size(), size - 1);
  // An empty view may hold no pointer at all, which memcpy must not be given
  // even for no bytes.
  if (n > 0) std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

// A list of strings, each ended by a NUL and the list by a second NUL.  When
// the buffer is too small the string that does not fit is cut so that the
// buffer still ends in two NULs, and the result is size - 2.  Nothing is
// written past the list: the rest of the caller's buffer keeps what it held.
class ListWriter {
 public:
  ListWriter(char* buffer, uint32_t size) : buffer_(buffer), size_(size) {}

  // False once the list is full and closed.
  bool add(std::string_view item) {
    if (full_) return false;
    ++count_;
    // One character stays free for the NUL that ends the list.
    const size_t room = size_ - 1 - pos_;
    if (item.size() + 1 < room) {
      std::memcpy(buffer_ + pos_, item.data(), item.size());
      pos_ += item.size();
      buffer_[pos_++] = '\0';
      return true;
    }
    const size_t n = std::min(item.size(), room - 1);
    std::memcpy(buffer_ + pos_, item.data(), n);
    pos_ += n;
    buffer_[pos_++] = '\0';
    buffer_[pos_] = '\0';
    full_ = true;
    return false;
  }

  size_t count() const { return count_; }

  uint32_t finish() {
    if (full_) return size_ - 2;
    buffer_[pos_] = '\0';
    return static_cast<uint32_t>(pos_);
  }

 private:
  char* buffer_;
  uint32_t size_;  // at least 2
  size_t pos_ = 0;
  size_t count_ = 0;
  bool full_ = false;
};

// Calls `visit` for each line of the first section named `section` until it
// returns false.  Returns whether the section exists.
bool forEachLineOf(std::string_view text, std::string_view section, const std::function<bool(const Line&)>& visit) {
  ini::LineReader reader(text);
  reader.readKeys(false);
  Line line;
  bool inside = false;
  while (reader.next(line)) {
    if (line.kind == LineKind::Section) {
      if (inside) return true;
      inside = ini::sameName(line.name, section);
      reader.readKeys(inside);
      continue;
    }
    if (inside && !visit(line)) return true;
  }
  return inside;
}

uint32_t sectionNames(std::string_view text, char* buffer, uint32_t size) {
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  ListWriter list(buffer, size);
  ini::LineReader reader(text);
  reader.readKeys(false);
  Line line;
  while (reader.next(line)) {
    if (line.kind != LineKind::Section) continue;
    const auto name = ini::cString(line.name);
    if (name.empty()) continue;  // an empty name would read as the end of the list
    if (!list.add(name)) break;
  }
  return list.finish();
}

std::string_view withoutTrailingSpaces(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// What was asked is refused when the file would not read it back the same
// way: a line break in a name or value, a ']' in a section name, a '=' in a
// key, a key that would read as a comment or a header.  Windows writes such
// text as it comes and so breaks the file for every later reader.
bool readsBackAs(const std::string& lineText, LineKind kind, std::string_view name, std::string_view value = {}) {
  ini::LineReader reader(lineText);
  Line line;
  if (!reader.next(line) || line.next != lineText.size()) return false;
  return line.kind == kind && line.name == name && line.value == ini::trimBlanks(value);
}

bool validSection(std::string_view section) {
  std::string header(1, '[');
  header.append(section).append("]");
  return readsBackAs(header, LineKind::Section, section);
}

bool validKeyValue(std::string_view key, std::string_view value) {
  std::string line(key);
  line.append("=").append(value);
  return readsBackAs(line, LineKind::Key, key, value);
}

bool validEntry(std::string_view entry) {
  if (entry.find_first_of("\r\n") != std::string_view::npos) return false;
  ini::LineReader reader(entry);
  Line line;
  return reader.next(line) && line.kind != LineKind::Section;
}

bool isReadOnly(const std::filesystem::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

// Read-modify-write of one profile file under the update lock.  False when
// the file cannot be read or written; it is then left as it was.
bool updateProfile(const std::filesystem::path& file,
                   const std::function<std::optional<std::string>(std::string_view)>& edit) {
  // Only a plain file (or none) is a profile; a folder, pipe or device under
  // the name is left alone.
  struct stat st {};
  if (::stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return false;
  bool refused = false;
  try {
    updateFileAtomically(file, [&](const std::optional<std::string>& current) -> std::optional<std::string> {
      auto next = edit(current ? std::string_view(*current) : std::string_view());
      // Replacing the file by rename would get round its read-only attribute,
      // which Windows honours.
      if (next && current && isReadOnly(file)) {
        refused = true;
        return std::nullopt;
      }
      return next;
    });
  } catch (const std::exception&) {
    return false;
  }
  return !refused;
}

}  // namespace

Profile::Profile(const Machine& machine) : machine_(machine) {}

std::filesystem::path Profile::resolve(std::string_view fileName) const { return machine_.toHost(fileName); }

uint32_t Profile::GetPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                          uint32_t size, std::string_view fileName) const {
  if (!buffer || size == 0) return 0;
  const std::string text = readProfile(resolve(fileName));
  if (!section) return sectionNames(text, buffer, size);

  const auto wantedSection = ini::trimBlanks(section);
  const auto fallback = withoutTrailingSpaces(defaultValue ? defaultValue : "");
  if (!key) {
    if (size == 1) return copyString(buffer, size, {});
    ListWriter list(buffer, size);
    forEachLineOf(text, wantedSection, [&](const Line& line) {
      if (line.kind != LineKind::Key) return true;
      const auto name = ini::cString(line.name);
      return name.empty() || list.add(name);
    });
    // A section without keys gives the default, as it does on Windows.
    return list.count() > 0 ? list.finish() : copyString(buffer, size, fallback);
  }

  const auto wantedKey = ini::trimBlanks(key);
  std::optional<std::string_view> found;
  forEachLineOf(text, wantedSection, [&](const Line& line) {
    if (line.kind == LineKind::Key && ini::sameName(line.name, wantedKey)) found = line.value;
    return !found;
  });
  return copyString(buffer, size, found ? ini::unquote(ini::cString(*found)) : fallback);
}

uint32_t Profile::GetPrivateProfileSectionNames(char* buffer, uint32_t size, std::string_view fileName) const {
  if (!buffer || size == 0) return 0;
  return sectionNames(readProfile(resolve(fileName)), buffer, size);
}

uint32_t Profile::GetPrivateProfileSection(const char* section, char* buffer, uint32_t size,
                                           std::string_view fileName) const {
  if (!section || !buffer || size == 0) return 0;
  if (size == 1) return copyString(buffer, size, {});
  const std::string text = readProfile(resolve(fileName));
  ListWriter list(buffer, size);
  std::string entry;
  forEachLineOf(text, ini::trimBlanks(section), [&](const Line& line) {
    switch (line.kind) {
      case LineKind::Key:
        entry.assign(line.name).append("=").append(line.value);
        break;
      case LineKind::Other:
        entry.assign(ini::trimBlanks(std::string_view(text).substr(line.begin, line.end - line.begin)));
        break;
      default:
        return true;
    }
    const auto item = ini::cString(entry);
    return item.empty() || list.add(item);
  });
  return list.finish();
}

bool Profile::WritePrivateProfileString(const char* section, const char* key, const char* value,
                                        std::string_view fileName) const {
  if (!section) return false;
  // Names that could not have been written are simply not found by a delete.
  const auto sec = ini::trimBlanks(section);
  if (!key) return updateProfile(resolve(fileName), [&](std::string_view text) { return ini::deleteSection(text, sec); });
  const auto k = ini::trimBlanks(key);
  if (!value) return updateProfile(resolve(fileName), [&](std::string_view text) { return ini::deleteKey(text, sec, k); });
  const std::string_view v = value;
  if (!validSection(sec) || !validKeyValue(k, v)) return false;
  return updateProfile(resolve(fileName), [&](std::string_view text) { return ini::setKey(text, sec, k, v); });
}

bool Profile::WritePrivateProfileSection(const char* section, const char* contents, std::string_view fileName) const {
  if (!section) return false;
  const auto sec = ini::trimBlanks(section);
  if (!contents)
    return updateProfile(resolve(fileName), [&](std::string_view text) { return ini::deleteSection(text, sec); });
  if (!validSection(sec)) return false;
  std::vector<std::string_view> entries;
  for (const char* p = contents; *p; p += std::strlen(p) + 1) {
    entries.emplace_back(p);
    if (!validEntry(entries.back())) return false;
  }
  return updateProfile(resolve(fileName),
                       [&](std::string_view text) { return ini::replaceSection(text, sec, entries); });
}

}  // namespace tw
