#include "fuzz/scratch_machine.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "host/files/read_file.h"

namespace fs = std::filesystem;

namespace tw::fuzz {
namespace {

fs::path scratchFolder() {
  const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  return base / ("tunewell-fuzz-" + std::to_string(::getpid()));
}

void removeScratch() {
  std::error_code ec;
  fs::remove_all(scratchMachine().top, ec);
}

}  // namespace

ScratchMachine& scratchMachine() {
  static ScratchMachine* m = [] {
    auto* s = new ScratchMachine;
    s->top = scratchFolder();
    s->root = s->top / "machine";
    fs::remove_all(s->top);
    fs::create_directories(s->root / "WINDOWS" / "SYSTEM");
    fs::create_directories(s->top / "outside");
    putFile(s->root / ".tunewell" / "machine.ini",
            "[Machine]\r\nWindowsFolder=C:\\WINDOWS\r\nSystemFolder=C:\\WINDOWS\\SYSTEM\r\nCodePage=1252\r\n");
    s->machine.emplace(Machine::open(s->root));
    s->profile.emplace(*s->machine);
    std::atexit(removeScratch);
    return s;
  }();
  return *m;
}

void putFile(const fs::path& file, std::string_view bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string fileBytes(const fs::path& file) { return readFileBytes(file).value_or(std::string()); }

std::optional<std::string> takeLine(std::string_view& rest) {
  const size_t end = rest.find('\n');
  std::string line(rest.substr(0, end));
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  if (line == "@null") return std::nullopt;
  return line;
}

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "expectation failed: %s\n", what);
  std::abort();
}

}  // namespace tw::fuzz
