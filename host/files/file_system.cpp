#include "host/files/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/machine/machine.h"
#include "host/runtime/codepage.h"
#include "host/runtime/errors.h"
#include "host/system/platform.h"

namespace tw {

namespace fs = std::filesystem;

namespace {

// A symbolic link counts as the file it points to, as a shortcut-free
// Windows drive would show it.
bool statFile(const fs::path& p, struct stat& st) { return ::stat(p.c_str(), &st) == 0; }

// The runtime's error 68, which the error numbers of the runtime layer do not
// name.
[[noreturn]] void deviceUnavailable() {
  constexpr int kDeviceUnavailable = 68;
  throw RuntimeError(kDeviceUnavailable, errorDescription(kDeviceUnavailable));
}

// Windows finds a file without regard to case, which on the host means
// reading the whole folder whenever a name is not spelled as stored.  The
// gauges look on every tick for a swap file that usually is not there, so
// two things are kept between look-ups:
//
// - the names in each folder, while the folder is unchanged: one stat of the
//   folder then replaces reading it.  A folder counts as unchanged while its
//   identity and its modification and change times are the same.  Times are
//   coarse, so a change made in the same tick as the reading could leave
//   them as they were; a listing is only reused when the folder had not
//   changed for two seconds before it was read.
// - the host folder that a Windows folder path led to, while that host
//   folder still exists.  Renaming or removing any folder on the way makes
//   it disappear, and the path is walked again.  (What is not noticed is a
//   second folder appearing on the way whose name differs from the first
//   only in case; a Windows drive cannot hold two such names.)
class FolderCache {
 public:
  enum class Result { Found, NoSuchName, NoFolder };

  // Looks for `ansiName` in `dir` as the machine's own translation does: the
  // exact spelling first, then the name in capitals, then the first name
  // equal without regard to case in the folder's own order.
  Result find(const std::string& dir, std::string_view ansiName, const CodePage& codePage, std::string& hostName) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Result::NoFolder;
    std::lock_guard lock(mutex_);
    Listing* listing = nullptr;
    const auto it = folders_.find(dir);
    if (it != folders_.end() && it->second.trusted && it->second.sameAs(st)) {
      listing = &it->second;
    } else {
      if (folders_.size() >= kMaxEntries) folders_.clear();
      Listing fresh;
      if (!fresh.read(dir, st, codePage)) return Result::NoFolder;
      listing = &(folders_[dir] = std::move(fresh));
    }
    std::string exact = codePage.fromAnsi(ansiName);
    if (listing->hostNames.contains(exact)) return hostName = std::move(exact), Result::Found;
    const std::string folded = ansiFold(ansiName);
    std::string capitals = codePage.fromAnsi(folded);
    if (listing->hostNames.contains(capitals)) return hostName = std::move(capitals), Result::Found;
    const auto first = listing->firstByFoldedName.find(folded);
    if (first == listing->firstByFoldedName.end()) return Result::NoSuchName;
    hostName = first->second;
    return Result::Found;
  }

  std::optional<std::string> route(const std::string& key) {
    std::lock_guard lock(mutex_);
    const auto it = routes_.find(key);
    if (it == routes_.end()) return std::nullopt;
    return it->second;
  }
  void setRoute(const std::string& key, std::optional<std::string> hostDir) {
    std::lock_guard lock(mutex_);
    if (!hostDir) {
      routes_.erase(key);
      return;
    }
    if (routes_.size() >= kMaxEntries) routes_.clear();
    routes_[key] = std::move(*hostDir);
  }

 private:
  static constexpr size_t kMaxEntries = 64;
  static constexpr time_t kSettledSeconds = 2;

  struct Listing {
    dev_t dev = 0;
    ino_t ino = 0;
    timespec mtime{};
    timespec ctime{};
    bool trusted = false;
    // A Windows folder can be large, and a name looked up on every tick must
    // not cost a pass over it: the host's names, and for each name in
    // capitals the first entry of that name in the folder's order.
    std::unordered_set<std::string> hostNames;
    std::unordered_map<std::string, std::string> firstByFoldedName;

    bool sameAs(const struct stat& st) const {
      return st.st_dev == dev && st.st_ino == ino && st.st_mtim.tv_sec == mtime.tv_sec &&
             st.st_mtim.tv_nsec == mtime.tv_nsec && st.st_ctim.tv_sec == ctime.tv_sec &&
             st.st_ctim.tv_nsec == ctime.tv_nsec;
    }

    bool read(const std::string& dir, const struct stat& st, const CodePage& codePage) {
      timespec now{};
      clock_gettime(CLOCK_REALTIME, &now);
      DIR* d = ::opendir(dir.c_str());
      if (!d) return false;
      while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        hostNames.emplace(name);
        firstByFoldedName.emplace(ansiFold(codePage.toAnsi(name)), name);
      }
      ::closedir(d);
      dev = st.st_dev;
      ino = st.st_ino;
      mtime = st.st_mtim;
      ctime = st.st_ctim;
      const time_t changed = std::max(mtime.tv_sec, ctime.tv_sec);
      trusted = now.tv_sec - changed > kSettledSeconds;
      return true;
    }
  };

  std::mutex mutex_;
  std::unordered_map<std::string, Listing> folders_;
  std::unordered_map<std::string, std::string> routes_;
};

FolderCache& folderCache() {
  static FolderCache cache;
  return cache;
}

bool isDriveC(std::string_view path) {
  return path.size() >= 3 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

void appendName(std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  dir += name;
}

}  // namespace

std::optional<fs::path> FileSystem::existing(std::string_view path) const {
  path = path.substr(0, path.find('\0'));  // as the platform's C strings end
  if (path.empty()) return std::nullopt;
  const auto slow = [&]() -> std::optional<fs::path> {
    fs::path host = machine_.toHost(path);
    struct stat st {};
    if (!statFile(host, st)) return std::nullopt;
    return host;
  };
  // Absolute paths on C: go through the folder cache with the same matching
  // as the machine's own translation; every other form (relative, other
  // drives, "." and "..") through the machine itself.
  if (!isDriveC(path)) return slow();
  std::vector<std::string_view> parts;
  for (std::string_view rest = path.substr(3); !rest.empty();) {
    const size_t cut = rest.find_first_of("\\/");
    const std::string_view part = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    // Dots and blanks that end a name are Windows' to drop; the machine's
    // translation knows how.
    if (part == "." || part == ".." || (!part.empty() && (part.back() == '.' || part.back() == ' '))) return slow();
    if (!part.empty()) parts.push_back(part);
  }
  if (parts.empty()) return machine_.root();
  // The cache finds names; whether a name found may be used is the machine's call.
  const auto found = cached(parts);
  if (found && !machine_.withinWalls(found->native())) return std::nullopt;
  return found;
}

std::optional<fs::path> FileSystem::cached(const std::vector<std::string_view>& parts) const {
  FolderCache& cache = folderCache();
  const CodePage& cp = machine_.codePage();
  std::string key = machine_.root().native();
  key += '\0';
  for (size_t i = 0; i + 1 < parts.size(); ++i) key += ansiFold(parts[i]) + "\\";

  std::string name;
  if (auto dir = cache.route(key)) {
    switch (cache.find(*dir, parts.back(), cp, name)) {
      case FolderCache::Result::Found: appendName(*dir, name); return fs::path(std::move(*dir));
      case FolderCache::Result::NoSuchName: return std::nullopt;
      case FolderCache::Result::NoFolder: cache.setRoute(key, std::nullopt); break;
    }
  }
  std::string dir = machine_.root().native();
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    if (cache.find(dir, parts[i], cp, name) != FolderCache::Result::Found) return std::nullopt;
    appendName(dir, name);
  }
  if (parts.size() > 1) cache.setRoute(key, dir);
  if (cache.find(dir, parts.back(), cp, name) != FolderCache::Result::Found) return std::nullopt;
  appendName(dir, name);
  return fs::path(std::move(dir));
}

sys::DiskMeter& Drive::meter() const {
  if (!disks_) deviceUnavailable();
  return *disks_;
}

std::string Drive::FileSystem() const {
  const std::string host = meter().fileSystemName(hostRoot_);
  if (host == "FAT32" || host == "FAT") return host;
  return describedFileSystem_;
}

double Drive::TotalSize() const {
  auto s = meter().space(hostRoot_);
  if (!s) deviceUnavailable();
  return static_cast<double>(s->totalBytes);
}

double Drive::FreeSpace() const {
  auto s = meter().space(hostRoot_);
  if (!s) deviceUnavailable();
  return static_cast<double>(s->freeBytes);
}

FileSystem::FileSystem(const Machine& machine, sys::DiskMeter* disks) : machine_(machine), disks_(disks) {}

bool FileSystem::FileExists(std::string_view path) const {
  const auto host = existing(path);
  struct stat st {};
  return host && statFile(*host, st) && S_ISREG(st.st_mode);
}

void FileSystem::DeleteFile(std::string_view path, bool force) const {
  const auto found = existing(path);
  struct stat st {};
  if (!found || !statFile(*found, st) || !S_ISREG(st.st_mode)) raise(ErrNo::FileNotFound);
  const fs::path& host = *found;
  // Windows' read-only attribute is the owner's missing write permission.
  if (!force && (st.st_mode & S_IWUSR) == 0) raise(ErrNo::PermissionDenied);
  if (::unlink(host.c_str()) != 0) {
    if (errno == ENOENT) raise(ErrNo::FileNotFound);
    raise(ErrNo::PermissionDenied);
  }
}

std::string FileSystem::GetSpecialFolder(int32_t which) const {
  switch (which) {
    case 0: return machine_.windowsFolder();
    case 1: return machine_.systemFolder();
    case 2: return machine_.windowsFolder() + "\\TEMP";
    default: raise(ErrNo::InvalidProcedureCall);
  }
}

double FileSystem::FileSize(std::string_view path) const {
  const auto host = existing(path);
  struct stat st {};
  if (!host || !statFile(*host, st) || !S_ISREG(st.st_mode)) raise(ErrNo::FileNotFound);
  return static_cast<double>(st.st_size);
}

std::string FileSystem::GetDriveName(std::string_view path) {
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
    return std::string(path.substr(0, 2));
  return {};
}

Drive FileSystem::GetDrive(std::string_view driveSpec) const {
  if (driveSpec.empty() || !std::isalpha(static_cast<unsigned char>(driveSpec[0])) ||
      (driveSpec.size() > 1 && driveSpec[1] != ':'))
    raise(ErrNo::InvalidProcedureCall);
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(driveSpec[0])));
  if (letter != 'C') deviceUnavailable();
  return Drive(std::string(1, letter), machine_.root(), disks_, machine_.describedFileSystem());
}

}  // namespace tw
