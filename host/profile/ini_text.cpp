#include "host/profile/ini_text.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "host/runtime/codepage.h"
#include "host/runtime/vbconv.h"

namespace tw::ini {
namespace {

constexpr std::string_view kNewLine = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The first CR or LF at or after `i`.  Reading a profile is mostly this
// search, so it looks at eight bytes at a time: a word none of whose bytes is
// below 14 holds neither.
size_t findLineEnd(const char* data, size_t i, size_t size) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighs = 0x8080808080808080ull;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= size; i += 8) {
      uint64_t w;
      std::memcpy(&w, data + i, 8);
      // Marks every byte below 14 (and perhaps some above one); each mark is checked.
      for (uint64_t m = (w - kOnes * 14) & ~w & kHighs; m != 0; m &= m - 1) {
        const size_t at = i + static_cast<size_t>(std::countr_zero(m)) / 8;
        if (data[at] == '\n' || data[at] == '\r') return at;
      }
    }
  }
  for (; i < size; ++i)
    if (data[i] == '\n' || data[i] == '\r') return i;
  return size;
}

void classify(std::string_view content, Line& line, bool keys) {
  line.name = {};
  line.value = {};
  size_t i = 0;
  while (i < content.size() && isBlank(content[i])) ++i;
  if (i == content.size()) {
    line.kind = LineKind::Blank;
    return;
  }
  if (content[i] == ';') {
    line.kind = LineKind::Comment;
    return;
  }
  if (content[i] == '[') {
    const size_t close = content.find(']', i + 1);
    if (close != std::string_view::npos) {
      line.kind = LineKind::Section;
      line.name = trimBlanks(content.substr(i + 1, close - i - 1));
      return;
    }
    // Without its ']' the line is no header; it may still be a key.
  }
  if (!keys) {
    line.kind = LineKind::Other;
    return;
  }
  const size_t eq = content.find('=', i);
  if (eq == std::string_view::npos) {
    line.kind = LineKind::Other;
    return;
  }
  line.kind = LineKind::Key;
  line.name = trimBlanks(content.substr(i, eq - i));
  line.value = trimBlanks(content.substr(eq + 1));
}

// Reads the first section named `section`: returns its header, or nullopt,
// and calls `visit` for each line after the header up to the next one.  An
// edit reads as far as it must and keeps no list of lines: on a large file
// that list costs more than the edit.
template <class Visit>
std::optional<Line> scanSection(std::string_view text, std::string_view section, Visit visit) {
  LineReader reader(text);
  reader.readKeys(false);
  Line line;
  while (reader.next(line))
    if (line.kind == LineKind::Section && sameName(line.name, section)) break;
  if (line.kind != LineKind::Section || !sameName(line.name, section)) return std::nullopt;
  const Line header = line;
  reader.readKeys(true);
  while (reader.next(line) && line.kind != LineKind::Section)
    if (!visit(line)) break;
  return header;
}

bool endsWithLineEnd(std::string_view text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

std::string splice(std::string_view text, size_t from, size_t to, std::string_view replacement) {
  std::string out;
  out.reserve(text.size() - (to - from) + replacement.size());
  out.append(text.substr(0, from));
  out.append(replacement);
  out.append(text.substr(to));
  return out;
}

// A new section at the end of the file.  It follows the last line directly:
// Windows separates sections by no blank line of its own.
std::string appendSection(std::string_view text, std::string_view section, const std::vector<std::string_view>& lines) {
  std::string out(text);
  if (!out.empty() && !endsWithLineEnd(out)) out.append(kNewLine);
  out.append("[").append(section).append("]").append(kNewLine);
  for (auto l : lines) out.append(l).append(kNewLine);
  return out;
}

}  // namespace

bool LineReader::next(Line& line) {
  const size_t size = text_.size();
  if (pos_ >= size) return false;
  // A CR ends the line on its own or as the first half of CR LF.
  const char* data = text_.data();
  const size_t end = findLineEnd(data, pos_, size);
  size_t after = end;
  if (end < size) {
    after = end + 1;
    if (data[end] == '\r' && after < size && data[after] == '\n') ++after;
  }
  line.begin = pos_;
  line.end = end;
  line.next = after;
  classify(text_.substr(pos_, end - pos_), line, keys_);
  pos_ = after;
  return true;
}

std::string_view trimBlanks(std::string_view s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string_view cString(std::string_view s) { return beforeNul(s); }

bool sameName(std::string_view inFile, std::string_view wanted) {
  return ansiEqualNoCase(cString(inFile), wanted);
}

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::optional<std::string> setKey(std::string_view text, std::string_view section, std::string_view key,
                                  std::string_view value) {
  std::optional<Line> found;
  std::optional<Line> lastKey;
  const auto header = scanSection(text, section, [&](const Line& l) {
    if (l.kind != LineKind::Key) return true;
    if (sameName(l.name, key)) {
      found = l;
      return false;
    }
    lastKey = l;
    return true;
  });
  if (!header) {
    const std::string entry = std::string(key) + "=" + std::string(value);
    return appendSection(text, section, {entry});
  }
  if (found) {
    if (found->value == value) return std::nullopt;
    // The key keeps the spelling it has in the file.
    return splice(text, found->begin, found->end, std::string(found->name) + "=" + std::string(value));
  }
  // A new key goes after the section's last key, so that the blank lines and
  // comments that lead into the next section stay in front of it.
  const Line& after = lastKey ? *lastKey : *header;
  std::string insert;
  if (after.next == after.end) insert.append(kNewLine);  // the last line of a file without a final newline
  insert.append(key).append("=").append(value).append(kNewLine);
  return splice(text, after.next, after.next, insert);
}

std::optional<std::string> deleteKey(std::string_view text, std::string_view section, std::string_view key) {
  std::optional<Line> found;
  scanSection(text, section, [&](const Line& l) {
    if (l.kind == LineKind::Key && sameName(l.name, key)) found = l;
    return !found;
  });
  if (!found) return std::nullopt;
  return splice(text, found->begin, found->next, {});
}

std::optional<std::string> deleteSection(std::string_view text, std::string_view section) {
  // Every section of that name goes, not only the first: a second one left
  // behind would take its place and bring the deleted name back.
  std::string out;
  size_t copied = 0;
  bool inside = false;
  bool changed = false;
  LineReader reader(text);
  reader.readKeys(false);
  Line line;
  while (reader.next(line)) {
    if (line.kind != LineKind::Section) continue;
    const bool doomed = sameName(line.name, section);
    if (doomed && !inside) {
      out.append(text.substr(copied, line.begin - copied));
      changed = true;
    } else if (!doomed && inside) {
      copied = line.begin;
    }
    inside = doomed;
  }
  if (!changed) return std::nullopt;
  if (!inside) out.append(text.substr(copied));
  return out;
}

std::optional<std::string> replaceSection(std::string_view text, std::string_view section,
                                          const std::vector<std::string_view>& entries) {
  std::optional<Line> last;
  const auto header = scanSection(text, section, [&](const Line& l) {
    if (l.kind != LineKind::Blank) last = l;
    return true;
  });
  if (!header) return appendSection(text, section, entries);
  // The blank lines that part the section from the next one are kept.
  const size_t from = header->next;
  const size_t to = last ? last->next : header->next;
  std::string body;
  if (!entries.empty() && header->next == header->end) body.append(kNewLine);
  for (auto e : entries) body.append(e).append(kNewLine);
  if (text.substr(from, to - from) == body) return std::nullopt;
  return splice(text, from, to, body);
}

}  // namespace tw::ini
