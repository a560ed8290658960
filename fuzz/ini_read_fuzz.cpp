// The INI reader on any file.  Input: the buffer size (a decimal line), the
// section and the key (a line each, "@null" for the null string), then the
// file's bytes.  Every read must stay inside the caller's buffer and end its
// result where it says.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/scratch_machine.h"
#include "host/profile/ini_text.h"

using namespace tw;

namespace {

// A buffer of exactly `size` bytes, so that the address sanitizer sees a
// write past it.
std::unique_ptr<char[]> freshBuffer(uint32_t size) {
  auto buf = std::make_unique<char[]>(size);
  std::memset(buf.get(), '#', size);
  return buf;
}

// What a function returned fits the buffer, and the text ends where it says.
void checkResult(uint32_t n, const char* buf, uint32_t size, bool isList) {
  if (size == 0) return fuzz::check(n == 0, "nothing is copied into no buffer");
  fuzz::check(n < size, "the count fits the buffer");
  fuzz::check(buf[n] == '\0', "the result ends in NUL");
  // A whole list counts its last item's NUL; one cut short counts neither
  // of the two NULs it ends in.
  if (isList && n > 0) fuzz::check(buf[n - 1] == '\0' || (n + 1 < size && buf[n + 1] == '\0'), "a list ends in two NULs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t length) {
  std::string_view rest(reinterpret_cast<const char*>(data), length);
  const auto sizeLine = fuzz::takeLine(rest);
  const uint32_t size = static_cast<uint32_t>(std::strtoul(sizeLine ? sizeLine->c_str() : "0", nullptr, 10) % 600);
  const auto section = fuzz::takeLine(rest);
  const auto key = fuzz::takeLine(rest);

  auto& m = fuzz::scratchMachine();
  fuzz::putFile(m.root / "WINDOWS" / "FUZZ.INI", rest);
  const Profile& p = *m.profile;
  const char* s = section ? section->c_str() : nullptr;
  const char* k = key ? key->c_str() : nullptr;

  auto buf = freshBuffer(size);
  uint32_t n = p.GetPrivateProfileString(s, k, "dflt", buf.get(), size, "fuzz.ini");
  // With a section and no key, a section without keys gives the default, not a list.
  checkResult(n, buf.get(), size, !s);
  buf = freshBuffer(size);
  n = p.GetPrivateProfileSectionNames(buf.get(), size, "fuzz.ini");
  checkResult(n, buf.get(), size, true);
  if (s) {
    buf = freshBuffer(size);
    n = p.GetPrivateProfileSection(s, buf.get(), size, "fuzz.ini");
    checkResult(n, buf.get(), size, true);
  }

  // The line reader covers the text exactly, line after line.
  ini::LineReader reader(rest);
  ini::Line line;
  size_t at = 0;
  while (reader.next(line)) {
    fuzz::check(line.begin == at && line.begin <= line.end && line.end <= line.next && line.next > line.begin,
                "lines follow each other without gaps");
    at = line.next;
  }
  fuzz::check(at == rest.size(), "the lines cover the whole text");
  return 0;
}
