// The INI writer on any file.  Input: section, key and value (a line each,
// "@null" for the null string), then the file's bytes.  A write that is
// refused changes nothing; one that is done reads back as written, and every
// other key of the file reads as it did.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/scratch_machine.h"
#include "host/profile/ini_text.h"
#include "host/runtime/codepage.h"

using namespace tw;

namespace {

// Room for any value of the input, so that nothing read is cut.
uint32_t room = 16;

std::string read(const Profile& p, const char* section, const char* key) {
  std::string buf(room, '\0');
  const uint32_t n = p.GetPrivateProfileString(section, key, "\x01missing", buf.data(), room, "fuzz.ini");
  buf.resize(n);
  return buf;
}

// The first few (section, key) pairs of a text, as a look-up names them: the
// name as a C string, without the blanks around it that a look-up drops
// from the name it is asked for ("load\t\0=" is found as "load").
std::vector<std::pair<std::string, std::string>> someKeys(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> keys;
  ini::LineReader reader(text);
  ini::Line line;
  std::string section;
  bool inSection = false;
  while (reader.next(line) && keys.size() < 32) {
    if (line.kind == ini::LineKind::Section) {
      section = std::string(ini::trimBlanks(ini::cString(line.name)));
      inSection = true;
    } else if (inSection && line.kind == ini::LineKind::Key) {
      const std::string_view name = ini::trimBlanks(ini::cString(line.name));
      if (!name.empty()) keys.emplace_back(section, std::string(name));
    }
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t length) {
  std::string_view rest(reinterpret_cast<const char*>(data), length);
  const auto section = fuzz::takeLine(rest);
  const auto key = fuzz::takeLine(rest);
  const auto value = fuzz::takeLine(rest);
  if (rest.size() > 8192) return -1;
  room = static_cast<uint32_t>(length) + 16;

  auto& m = fuzz::scratchMachine();
  const auto file = m.root / "WINDOWS" / "FUZZ.INI";
  fuzz::putFile(file, rest);
  const Profile& p = *m.profile;
  const char* s = section ? section->c_str() : nullptr;
  const char* k = key ? key->c_str() : nullptr;
  const char* v = value ? value->c_str() : nullptr;

  const auto others = someKeys(rest);
  std::vector<std::string> before;
  for (const auto& [sec, name] : others) before.push_back(read(p, sec.c_str(), name.c_str()));

  const bool written = p.WritePrivateProfileString(s, k, v, "fuzz.ini");
  const std::string after = fuzz::fileBytes(file);
  if (!written) {
    fuzz::check(after == rest, "a refused write leaves the file as it was");
    return 0;
  }
  const auto wantedSection = ini::trimBlanks(s ? s : "");
  const auto wantedKey = ini::trimBlanks(k ? k : "");
  if (k && v) {
    // The reader drops the blanks around a value and one pair of quotes.
    fuzz::check(read(p, s, k) == std::string(ini::unquote(ini::trimBlanks(v))), "the written value reads back");
  } else if (k) {
    // A key that stands twice in its section goes one line a delete, as on
    // Windows: each delete removes a line, and none is left in the end.
    std::string now = after;
    for (int i = 0; read(p, s, k) != "\x01missing"; ++i) {
      fuzz::check(i < 100000 && p.WritePrivateProfileString(s, k, nullptr, "fuzz.ini"), "a deleted key is gone");
      std::string next = fuzz::fileBytes(file);
      fuzz::check(next.size() < now.size(), "each delete of a key removes a line");
      now = std::move(next);
    }
  } else {
    fuzz::check(read(p, s, "x") == "\x01missing", "a deleted section is gone");
  }
  for (size_t i = 0; i < others.size(); ++i) {
    const auto& [sec, name] = others[i];
    const bool sameSection = ansiEqualNoCase(sec, wantedSection);
    if (sameSection && (!k || ansiEqualNoCase(name, wantedKey))) continue;
    // A deleted section takes its keys with it; other keys are untouched.
    if (sameSection && !k) continue;
    fuzz::check(read(p, sec.c_str(), name.c_str()) == before[i], "every other key reads as before");
  }
  return 0;
}
