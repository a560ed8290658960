// Windows-path translation.  Input: a Windows path.  Its host path lies in
// the machine, never in the machine's hidden folder (unless in a folder that
// does not exist), and, through whatever links, never really outside.

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/scratch_machine.h"
#include "host/files/file_system.h"

using namespace tw;
namespace fs = std::filesystem;

namespace {

bool atOrBelow(const std::string& path, const std::string& dir) {
  return path.compare(0, dir.size(), dir) == 0 && (path.size() == dir.size() || path[dir.size()] == '/');
}

struct Walls {
  fuzz::ScratchMachine& m = fuzz::scratchMachine();
  std::string root;
  std::string realRoot;
  std::string meta;
  FileSystem files{*m.machine, nullptr};

  Walls() {
    const fs::path win = m.root / "WINDOWS";
    fuzz::putFile(win / "SYSTEM" / "INNER.INI", "[s]\r\n");
    fuzz::putFile(m.top / "outside" / "SECRET.INI", "[s]\r\n");
    fs::create_directory_symlink(m.top / "outside", win / "OUT");
    fs::create_directory_symlink("..", win / "UP");
    fs::create_directory_symlink("../.tunewell", win / "META");
    fs::create_symlink(m.top / "outside" / "none.ini", win / "DANGLING.INI");
    fs::create_symlink("SYSTEM/INNER.INI", win / "NEAR.INI");
    root = m.machine->root().native();
    realRoot = fs::canonical(m.root).native();
    meta = m.machine->metaDir().native();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t length) {
  static Walls w;
  const std::string_view path(reinterpret_cast<const char*>(data), length);
  const std::string host = w.m.machine->toHost(path).native();
  fuzz::check(atOrBelow(host, w.root), "the host path lies in the machine folder");
  struct stat st {};
  if (atOrBelow(host, w.meta)) {
    fuzz::check(::lstat(host.c_str(), &st) != 0, "a path into the hidden folder leads nowhere that exists");
    fuzz::check(!w.files.FileExists(path), "nothing of the hidden folder exists as a file");
    return 0;
  }
  fuzz::check(w.m.machine->withinWalls(host), "the translation keeps within its own walls");
  // The deepest part that exists is really inside, and not the hidden folder.
  std::string existing = host;
  while (existing.size() > w.root.size() && ::lstat(existing.c_str(), &st) != 0) existing.resize(existing.rfind('/'));
  char* real = ::realpath(existing.c_str(), nullptr);
  fuzz::check(real != nullptr, "what exists of the path resolves");
  const std::string resolved = real;
  ::free(real);
  fuzz::check(atOrBelow(resolved, w.realRoot), "the path is really inside the machine");
  fuzz::check(!atOrBelow(resolved, w.realRoot + "/.tunewell"), "the path is really not in the hidden folder");
  if (w.files.FileExists(path)) fuzz::check(::stat(host.c_str(), &st) == 0, "a file that exists is the one translated");
  return 0;
}
