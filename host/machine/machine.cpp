#include "host/machine/machine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <random>
#include <system_error>

#include "host/files/atomic_file.h"
#include "host/profile/ini_text.h"
#include "host/registry/regfile.h"
#include "host/registry/registry.h"

namespace fs = std::filesystem;

namespace tw {
namespace {

uint32_t parseUnsigned(const std::string& text, const std::string& key, const fs::path& file) {
  char* end = nullptr;
  const unsigned long v = std::strtoul(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v > 0xFFFFFFFFul)
    throw MachineError(file.string() + ": " + key + " must be a whole number, not \"" + text + "\"");
  return static_cast<uint32_t>(v);
}

// Copies the template's drive and description into `target`, which must not exist yet.
void copyTemplate(const fs::path& templ, const fs::path& target) {
  const fs::path drive = templ / "drive";
  if (!fs::is_directory(drive) || !fs::is_regular_file(templ / "machine.ini") || !fs::is_regular_file(templ / "registry.reg"))
    throw MachineError("the template machine in " + templ.string() +
                       " is incomplete (it needs drive/, machine.ini and registry.reg); set TUNEWELL_TEMPLATE");
  fs::create_directories(target);
  fs::copy(drive, target, fs::copy_options::recursive);
  fs::create_directories(target / ".tunewell");
  fs::copy_file(templ / "machine.ini", target / ".tunewell" / "machine.ini");
  reg::Registry hive(target / ".tunewell" / "hive.db");
  reg::importRegFile(hive, templ / "registry.reg");
}

fs::path uniqueSibling(const fs::path& p, const char* tag) {
  std::random_device rd;
  return p.parent_path() / ("." + p.filename().string() + tag + std::to_string(rd() % 1000000000u));
}

constexpr std::string_view kMetaFolder = ".tunewell";

// Windows path components: split at backslashes (and slashes, which the
// platform accepts too).
std::vector<std::string> components(std::string_view path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!cur.empty()) parts.push_back(std::move(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(std::move(cur));
  return parts;
}

// Windows drops the dots and blanks that end a name: "SYSTEM.INI." and
// "SYSTEM.INI " are SYSTEM.INI.  A name of nothing else names no file.
std::string_view windowsName(std::string_view part) {
  while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
  return part;
}

bool isMetaFolderName(std::string_view name) { return ansiEqualNoCase(name, kMetaFolder); }

// Whether `path` is `dir` or lies below it.
bool isAtOrBelow(std::string_view path, std::string_view dir) {
  return path.substr(0, dir.size()) == dir && (path.size() == dir.size() || path[dir.size()] == '/');
}

// The first component of `path` below `dir` (which `path` is at or below).
std::string_view firstComponentBelow(std::string_view path, std::string_view dir) {
  std::string_view rest = path.substr(dir.size());
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  return rest.substr(0, rest.find('/'));
}

fs::path withoutTrailingSeparator(fs::path p) {
  p = p.lexically_normal();
  return p.has_filename() || p == p.root_path() ? p : p.parent_path();
}

}  // namespace

Machine::Machine(fs::path root) : root_(withoutTrailingSeparator(std::move(root))) {
  char* real = ::realpath(root_.c_str(), nullptr);
  realRoot_ = real ? real : root_.native();
  std::free(real);
}

fs::path Machine::defaultRoot() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return fs::path(xdg) / "tunewell" / "machine";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".local" / "share" / "tunewell" / "machine";
}

fs::path Machine::templateDir() {
  if (const char* t = std::getenv("TUNEWELL_TEMPLATE"); t && *t) return t;
  return TW_TEMPLATE_DIR;
}

fs::path Machine::chooseRoot(std::vector<std::string>& args) {
  std::optional<fs::path> chosen;
  for (size_t i = 0; i < args.size();) {
    if (args[i] == "--machine" && i + 1 < args.size()) {
      chosen = args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i + 2));
    } else if (args[i].rfind("--machine=", 0) == 0) {
      chosen = args[i].substr(10);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  if (chosen) return *chosen;
  if (const char* env = std::getenv("TUNEWELL_MACHINE"); env && *env) return env;
  return defaultRoot();
}

void Machine::createFromTemplate(const fs::path& root, bool replace) {
  const fs::path target = fs::absolute(root);
  if (fs::exists(target) && !replace)
    throw MachineError(target.string() + " already exists; reset it to replace it with a fresh machine");
  fs::create_directories(target.parent_path());
  // Build the machine beside its final place, then move it there in one
  // rename, so that a crash never leaves half a machine that looks whole.
  const fs::path staging = uniqueSibling(target, ".new");
  try {
    copyTemplate(templateDir(), staging);
  } catch (...) {
    std::error_code ec;
    fs::remove_all(staging, ec);
    throw;
  }
  if (fs::exists(target)) {
    const fs::path old = uniqueSibling(target, ".old");
    fs::rename(target, old);
    fs::rename(staging, target);
    std::error_code ec;
    fs::remove_all(old, ec);
  } else {
    fs::rename(staging, target);
  }
}

Machine Machine::open(const fs::path& rootIn) {
  const fs::path root = fs::absolute(rootIn);
  // A folder that does not exist yet, or an empty one, becomes a fresh machine.
  if (!fs::exists(root) || (fs::is_directory(root) && fs::is_empty(root))) createFromTemplate(root, fs::exists(root));
  if (!fs::is_directory(root)) throw MachineError(root.string() + " is not a folder");
  if (!fs::is_regular_file(root / ".tunewell" / "machine.ini"))
    throw MachineError(root.string() + " is not a Tunewell machine: it has no .tunewell/machine.ini "
                       "(choose an empty or new folder, or reset this one from the template)");
  Machine m(root);
  m.readDescription();
  return m;
}

std::string Machine::resetCommand(const fs::path& root) {
  return "plinthctl --machine \"" + root.string() + "\" reset-machine";
}

void Machine::readDescription() {
  const fs::path file = metaDir() / "machine.ini";
  const auto bytes = readFileBytes(file);
  if (!bytes) throw MachineError(file.string() + " cannot be read");
  // A description that says nothing, or is not one at all, is refused
  // rather than read as the defaults: the machine it describes may well be
  // another one.
  auto refuse = [&](const std::string& problem) {
    throw MachineError(file.string() + " " + problem + "; nothing was changed. To recover, mend it (the template's is " +
                       (templateDir() / "machine.ini").string() + ") or make the machine anew with " +
                       resetCommand(root_));
  };
  if (bytes->empty()) refuse("is empty");
  if (bytes->find('\0') != std::string::npos) refuse("is not a machine description: it holds NUL bytes");
  // The description is an INI file: read it with the profile functions' own
  // line reader, so it follows the same rules as every other INI file.
  std::string_view section;
  bool described = false;
  int lineNumber = 0;
  ini::LineReader reader(*bytes);
  ini::Line line;
  while (reader.next(line)) {
    ++lineNumber;
    if (line.kind == ini::LineKind::Other)
      refuse("is not a machine description: line " + std::to_string(lineNumber) +
             " is neither [section] nor key=value");
    if (line.kind == ini::LineKind::Section) {
      section = line.name;
      described = described || ansiEqualNoCase(section, "Machine");
    }
    if (line.kind != ini::LineKind::Key || !ansiEqualNoCase(section, "Machine")) continue;
    const std::string key(line.name);
    const std::string value(ini::unquote(line.value));
    if (ansiEqualNoCase(key, "WindowsFolder")) windowsFolder_ = value;
    else if (ansiEqualNoCase(key, "SystemFolder")) systemFolder_ = value;
    else if (ansiEqualNoCase(key, "ProgramFolder")) programFolder_ = value;
    else if (ansiEqualNoCase(key, "ComputerName")) computerName_ = value;
    else if (ansiEqualNoCase(key, "FileSystem")) {
      // Windows 95, 98 and ME start only from a FAT drive.
      if (ansiEqualNoCase(value, "FAT32")) fileSystem_ = "FAT32";
      else if (ansiEqualNoCase(value, "FAT")) fileSystem_ = "FAT";
      else
        throw MachineError(file.string() + ": line " + std::to_string(lineNumber) + ": FileSystem must be FAT32 or FAT, not \"" +
                           value + "\"; nothing was changed");
    }
    else if (ansiEqualNoCase(key, "ServicePack")) version_.servicePack = value;
    else if (ansiEqualNoCase(key, "Platform")) version_.platform = parseUnsigned(value, key, file);
    else if (ansiEqualNoCase(key, "CodePage")) {
      const uint32_t cp = parseUnsigned(value, key, file);
      if (cp != 1252) throw MachineError(file.string() + ": code page " + value + " is not supported (only 1252)");
      codePage_ = CodePage(cp);
    } else if (ansiEqualNoCase(key, "Version")) {
      uint32_t parts[3] = {0, 0, 0};
      size_t start = 0;
      for (int i = 0; i < 3; ++i) {
        const size_t dot = value.find('.', start);
        const std::string piece = value.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        parts[i] = parseUnsigned(piece, key, file);
        if (dot == std::string::npos) {
          if (i < 2) throw MachineError(file.string() + ": Version must read major.minor.build, not \"" + value + "\"");
          break;
        }
        start = dot + 1;
      }
      version_.major = parts[0];
      version_.minor = parts[1];
      version_.build = parts[2];
    }
  }
  if (!described) refuse("is not a machine description: it has no [Machine] section");
}

fs::path Machine::toHost(std::string_view windowsPath) const {
  bool onDriveC = false;
  std::string host = resolveNames(windowsPath, onDriveC);
  if (!onDriveC || withinWalls(host)) return host;
  // Beyond the walls: a folder that is never made, so that nothing is read
  // from there and nothing can be written.  The name is kept for messages.
  const auto slash = host.rfind('/');
  return metaDir() / "unreachable" / host.substr(slash == std::string::npos ? 0 : slash + 1);
}

bool Machine::withinWalls(const std::string& hostPath) const {
  const std::string& root = root_.native();
  if (!isAtOrBelow(hostPath, root)) return false;
  if (isMetaFolderName(firstComponentBelow(hostPath, root))) return false;
  // Only a symbolic link can lead elsewhere; most paths have none, and a
  // look at each component settles them.
  std::string prefix = root;
  for (size_t pos = root.size(); pos < hostPath.size();) {
    const size_t end = std::min(hostPath.find('/', pos + 1), hostPath.size());
    prefix.append(hostPath, pos, end - pos);
    pos = end;
    if (prefix.back() == '/') continue;
    struct stat st {};
    // What does not exist holds no link, and neither does anything below it.
    if (::lstat(prefix.c_str(), &st) != 0) return true;
    if (S_ISLNK(st.st_mode)) return reallyWithinWalls(hostPath);
  }
  return true;
}

bool Machine::reallyWithinWalls(const std::string& hostPath) const {
  // The names after the deepest existing part are new names, which no link
  // can redirect; where that part really lies decides.
  std::string existing = hostPath;
  struct stat st {};
  while (existing.size() > root_.native().size() && ::lstat(existing.c_str(), &st) != 0)
    existing.resize(existing.rfind('/'));
  char* real = ::realpath(existing.c_str(), nullptr);
  // A link to nothing would have a write create its target wherever it points.
  if (!real) return false;
  const std::string resolved = real;
  std::free(real);
  return isAtOrBelow(resolved, realRoot_) && !isMetaFolderName(firstComponentBelow(resolved, realRoot_));
}

std::string Machine::resolveNames(std::string_view windowsPath, bool& onDriveC) const {
  // The platform's functions take C strings: a NUL ends the path.
  std::string_view rest = windowsPath.substr(0, windowsPath.find('\0'));
  std::vector<std::string> parts;
  fs::path base = root_;
  onDriveC = true;
  if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
    if (drive != 'C') {
      base = metaDir() / "no-such-drive" / std::string(1, drive);
      onDriveC = false;
    }
    rest.remove_prefix(2);
  } else if (rest.empty() || (rest[0] != '\\' && rest[0] != '/')) {
    // A relative path: the profile functions look in the Windows folder.
    parts = components(std::string_view(windowsFolder_).substr(windowsFolder_.size() >= 2 && windowsFolder_[1] == ':' ? 2 : 0));
  }
  for (auto& c : components(rest)) parts.push_back(std::move(c));

  std::vector<std::string> resolved;
  for (auto& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (!resolved.empty()) resolved.pop_back();
      continue;
    }
    const std::string_view name = windowsName(part);
    if (name.empty()) continue;
    resolved.emplace_back(name);
  }

  // Built as strings: the paths of the filesystem library take longer to
  // join than the look-ups themselves, and every profile call comes here.
  auto join = [](std::string dir, const std::string& name) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir + name;
  };
  auto status = [](const std::string& path, bool& isDirectory) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    isDirectory = S_ISDIR(st.st_mode);
    return true;
  };
  std::vector<std::string> names;
  names.reserve(resolved.size());
  std::string exact = base.native();
  for (const auto& ansiName : resolved) exact = join(std::move(exact), names.emplace_back(codePage_.fromAnsi(ansiName)));
  // The programs nearly always write a path as it is stored; one look then
  // settles it, where matching each component would look at each twice.
  bool isDirectory = false;
  if (status(exact, isDirectory)) return exact;
  // Where the folders are written as stored and the file's name is not
  // (SYSTEM.INI as "System.ini"), the walk below ends with the name in
  // capitals: looked at first, it settles the path in one more look.
  if (!resolved.empty()) {
    const std::string dir = exact.substr(0, exact.size() - names.back().size());
    std::string capitals = dir + codePage_.fromAnsi(ansiFold(resolved.back()));
    if (capitals != exact && status(capitals, isDirectory)) return capitals;
  }

  std::string current = base.native();
  bool exists = status(current, isDirectory) && isDirectory;
  for (std::size_t i = 0; i < resolved.size(); ++i) {
    std::string next = join(current, names[i]);
    isDirectory = false;
    if (exists && !status(next, isDirectory)) {
      // Windows keeps the names of its own files in capitals (SYSTEM.INI)
      // and the programs write them as they like ("System.ini"): the name
      // in capitals is looked at before the folder is read.
      std::string capitals = join(current, codePage_.fromAnsi(ansiFold(resolved[i])));
      if (capitals != next && status(capitals, isDirectory)) {
        next = std::move(capitals);
      } else {
        // Match the component without regard to case, as Windows does.
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(current, ec)) {
          const std::string candidate = codePage_.toAnsi(entry.path().filename().string());
          if (ansiEqualNoCase(candidate, resolved[i])) {
            next = entry.path().native();
            isDirectory = entry.is_directory(ec);
            break;
          }
        }
      }
    }
    exists = exists && isDirectory;
    current = std::move(next);
  }
  return current;
}

std::string Machine::toWindows(const fs::path& hostPath) const {
  const fs::path rel = fs::absolute(hostPath).lexically_normal().lexically_relative(root_.lexically_normal());
  std::string out = "C:";
  for (const auto& part : rel) {
    const std::string s = part.string();
    if (s == "." || s.empty()) continue;
    out += "\\" + codePage_.toAnsi(s);
  }
  if (out == "C:") out += "\\";
  return out;
}

}  // namespace tw
