// The platform of the Linux host.
//
// Memory status, the statistics and the resource meter come from files under
// /proc.  Each file is read at most once per freshness period and shared by
// every figure taken from it, so one gauge refresh costs one read of each.

#include <dirent.h>
#include <sys/resource.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/files/read_file.h"
#include "host/runtime/errors.h"
#include "host/shell/shell.h"
#include "host/system/cpuid.h"
#include "host/system/platform.h"

namespace tw::sys {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::optional<uint64_t> leadingNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  uint64_t v = 0;
  const auto r = std::from_chars(s.data() + i, s.data() + s.size(), v);
  if (r.ec != std::errc()) return std::nullopt;
  return v;
}

std::optional<uint64_t> readNumberFile(const fs::path& p) {
  std::string buf;
  if (!readKernelFile(p.c_str(), buf)) return std::nullopt;
  return leadingNumber(buf);
}

struct Meminfo {
  uint64_t total = 0, available = 0, buffers = 0, cached = 0, swapTotal = 0, swapFree = 0;
};

// /proc/meminfo: "Name:   value kB" lines.  MemAvailable is missing on old
// kernels; free plus the file cache is the usual stand-in there.
std::optional<Meminfo> parseMeminfo(std::string_view text) {
  Meminfo m;
  std::optional<uint64_t> total, available, memFree;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, colon);
    const auto value = leadingNumber(line.substr(colon + 1));
    if (!value) continue;
    const uint64_t bytes = *value * 1024;  // the kernel counts in kB
    if (name == "MemTotal") total = bytes;
    else if (name == "MemAvailable") available = bytes;
    else if (name == "MemFree") memFree = bytes;
    else if (name == "Buffers") m.buffers = bytes;
    else if (name == "Cached") m.cached = bytes;
    else if (name == "SwapTotal") m.swapTotal = bytes;
    else if (name == "SwapFree") m.swapFree = bytes;
  }
  if (!total || *total == 0) return std::nullopt;
  m.total = *total;
  m.available = available ? *available : memFree.value_or(0) + m.buffers + m.cached;
  m.available = std::min(m.available, m.total);
  m.swapFree = std::min(m.swapFree, m.swapTotal);
  return m;
}

struct CpuTimes {
  uint64_t busy = 0;
  uint64_t total = 0;
};

// The first line of /proc/stat: "cpu  user nice system idle iowait irq
// softirq steal guest guest_nice".  Guest time is already inside user time.
std::optional<CpuTimes> parseStat(std::string_view text) {
  if (text.substr(0, 4) != "cpu ") return std::nullopt;
  const size_t eol = text.find('\n');
  std::string_view line = text.substr(4, eol == std::string_view::npos ? std::string_view::npos : eol - 4);
  uint64_t fields[8] = {};
  int n = 0;
  while (n < 8) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line.empty()) break;
    const auto r = std::from_chars(line.data(), line.data() + line.size(), fields[n]);
    if (r.ec != std::errc()) return std::nullopt;
    line.remove_prefix(static_cast<size_t>(r.ptr - line.data()));
    ++n;
  }
  if (n < 4) return std::nullopt;
  CpuTimes t;
  for (int i = 0; i < n; ++i) t.total += fields[i];
  const uint64_t idle = fields[3] + fields[4];  // idle and waiting for I/O
  t.busy = t.total - idle;
  return t;
}

uint32_t percentOf(uint64_t part, uint64_t whole) {
  if (whole == 0) return 0;
  part = std::min(part, whole);
  return static_cast<uint32_t>((part * 100 + whole / 2) / whole);
}

[[noreturn]] void unreadable(const fs::path& p) {
  raise(ErrNo::DeviceIoError, "Device I/O error: cannot read " + p.string());
}

// The host's figures, each read at most once per freshness period.
class ProcReader {
 public:
  explicit ProcReader(const LiveOptions& o)
      : root_(o.procRoot),
        meminfoFile_(root_ / "meminfo"),
        statFile_(root_ / "stat"),
        statmFile_(root_ / "self/statm"),
        loadavgFile_(root_ / "loadavg"),
        clock_(o.clock),
        freshness_(o.freshness),
        slowFreshness_(std::max<std::chrono::milliseconds>(o.freshness, std::chrono::seconds(1))) {
    struct statfs fsInfo {};
    kernelProc_ = ::statfs(root_.c_str(), &fsInfo) == 0 && fsInfo.f_type == PROC_SUPER_MAGIC;
  }

  std::optional<Meminfo> meminfo() {
    std::lock_guard lock(mutex_);
    const auto now = clock_();
    if (!meminfoAt_ || now - *meminfoAt_ >= freshness_) {
      const auto m = readKernelFile(meminfoFile_.c_str(), buf_) ? parseMeminfo(buf_) : std::nullopt;
      if (!m) return std::nullopt;
      meminfo_ = *m;
      meminfoAt_ = now;
    }
    return meminfo_;
  }

  // The process's mapped address space (VmSize), in bytes.  It moves slowly
  // and no gauge shows it, so it is read at most once a second.
  uint64_t virtualInUse() {
    std::lock_guard lock(mutex_);
    const auto now = clock_();
    if (!statmAt_ || now - *statmAt_ >= slowFreshness_) {
      const auto pages = readKernelFile(statmFile_.c_str(), buf_) ? leadingNumber(buf_) : std::nullopt;
      vmSize_ = pages.value_or(0) * static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
      statmAt_ = now;
    }
    return vmSize_;
  }

  // The processor load since the previous reading.  The first reading gives
  // the load since the host started; readings closer together than the
  // freshness period share one figure, so that the statistics read for
  // other gauges of the same refresh do not cut the next interval short.
  uint32_t cpuLoad() {
    std::lock_guard lock(mutex_);
    const auto now = clock_();
    if (cpuAt_ && now - *cpuAt_ < freshness_) return load_;
    const auto t = readKernelFile(statFile_.c_str(), buf_) ? parseStat(buf_) : std::nullopt;
    if (!t) return load_;
    cpuAt_ = now;
    if (!havePrev_ || t->total < prev_.total || t->busy < prev_.busy) {
      load_ = percentOf(t->busy, t->total);
    } else if (t->total == prev_.total) {
      return load_;  // no tick has passed: the interval stays open
    } else {
      load_ = percentOf(t->busy - prev_.busy, t->total - prev_.total);
    }
    prev_ = *t;
    havePrev_ = true;
    return load_;
  }

  struct Resources {
    int32_t gdiFree = 0;
    int32_t userFree = 0;
  };

  // The resource heaps of Windows 9x are small fixed tables that every
  // program fills.  Their nearest Linux counterparts are tables of the same
  // kind: the user heap is the kernel's task table (processes and threads
  // against threads-max and pid_max), the GDI heap is this process's table of
  // descriptors against its open-file limit.  Counting the descriptors means
  // listing them, and tables this large fill slowly, so the figures are
  // taken at most once a second.
  Resources resources() {
    std::lock_guard lock(mutex_);
    const auto now = clock_();
    if (!resAt_ || now - *resAt_ >= slowFreshness_) {
      res_.userFree = static_cast<int32_t>(100 - percentOf(tasks(), taskLimit()));
      res_.gdiFree = static_cast<int32_t>(100 - percentOf(openDescriptors(), descriptorLimit()));
      resAt_ = now;
    }
    return res_;
  }

 private:
  uint64_t tasks() {
    // /proc/loadavg: "0.10 0.20 0.30 running/total lastpid"
    if (!readKernelFile(loadavgFile_.c_str(), buf_)) unreadable(loadavgFile_);
    const size_t slash = buf_.find('/');
    const auto n = slash == std::string::npos ? std::nullopt : leadingNumber(std::string_view(buf_).substr(slash + 1));
    if (!n) unreadable(loadavgFile_);
    return *n;
  }

  uint64_t taskLimit() {
    if (!taskLimit_) {
      const auto threads = readNumberFile(root_ / "sys/kernel/threads-max");
      const auto pids = readNumberFile(root_ / "sys/kernel/pid_max");
      uint64_t limit = 0;
      if (threads && pids) limit = std::min(*threads, *pids);
      else limit = threads ? *threads : pids.value_or(0);
      if (limit == 0) unreadable(root_ / "sys/kernel/threads-max");
      taskLimit_ = limit;
    }
    return *taskLimit_;
  }

  // Since Linux 6.2 the kernel's descriptor folder tells its number of
  // entries as its size, which spares listing it; older kernels say 0, and
  // a folder standing in for /proc has a size of its own, so those are
  // listed.
  uint64_t openDescriptors() {
    const fs::path dir = root_ / "self/fd";
    struct stat st {};
    if (kernelProc_ && ::stat(dir.c_str(), &st) == 0 && st.st_size > 0) return static_cast<uint64_t>(st.st_size);
    DIR* d = ::opendir(dir.c_str());
    if (!d) unreadable(dir);
    const std::string own = std::to_string(::dirfd(d));
    uint64_t n = 0;
    while (const dirent* e = ::readdir(d)) {
      const std::string_view name = e->d_name;
      if (name == "." || name == ".." || name == own) continue;
      ++n;
    }
    ::closedir(d);
    return n;
  }

  uint64_t descriptorLimit() {
    rlimit rl{};
    if (::getrlimit(RLIMIT_NOFILE, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY && rl.rlim_cur > 0) return rl.rlim_cur;
    return readNumberFile(root_ / "sys/fs/nr_open").value_or(1048576);
  }

  // The programs read from one thread, but objects of the C interface may
  // share a platform across threads.
  std::mutex mutex_;
  fs::path root_;
  bool kernelProc_ = false;  // the kernel's own /proc, not a folder standing in for it
  // The files read on every refresh, named once.
  fs::path meminfoFile_, statFile_, statmFile_, loadavgFile_;
  std::function<Clock::time_point()> clock_;
  std::chrono::milliseconds freshness_;
  std::chrono::milliseconds slowFreshness_;
  std::string buf_;

  std::optional<Clock::time_point> meminfoAt_;
  Meminfo meminfo_;
  std::optional<Clock::time_point> statmAt_;
  uint64_t vmSize_ = 0;
  std::optional<Clock::time_point> cpuAt_;
  bool havePrev_ = false;
  CpuTimes prev_;
  uint32_t load_ = 0;
  std::optional<Clock::time_point> resAt_;
  Resources res_;
  std::optional<uint64_t> taskLimit_;
};

// The address space a process of this host may use.
uint64_t addressSpaceSize() {
  rlimit rl{};
  if (::getrlimit(RLIMIT_AS, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY) return rl.rlim_cur;
  if constexpr (sizeof(void*) >= 8) return uint64_t{1} << 47;  // the user half of a 48-bit address space
  return uint64_t{3} << 30;
}

class LiveMemory : public MemoryMeter {
 public:
  LiveMemory(std::shared_ptr<ProcReader> proc, fs::path procRoot)
      : proc_(std::move(proc)), procRoot_(std::move(procRoot)), addressSpace_(addressSpaceSize()) {}

  MemoryStatus status() override {
    const auto m = proc_->meminfo();
    if (!m) unreadable(procRoot_ / "meminfo");
    MemoryStatus s;
    s.totalPhys = m->total;
    s.availPhys = m->available;
    s.memoryLoad = percentOf(m->total - m->available, m->total);
    // Windows 9x's page file is its swap file.
    s.totalPageFile = m->swapTotal;
    s.availPageFile = m->swapFree;
    s.totalVirtual = addressSpace_;
    s.availVirtual = addressSpace_ - std::min(addressSpace_, proc_->virtualInUse());
    return s;
  }

 private:
  std::shared_ptr<ProcReader> proc_;
  fs::path procRoot_;
  uint64_t addressSpace_;
};

class LivePerf : public PerfCounters {
 public:
  explicit LivePerf(std::shared_ptr<ProcReader> proc) : proc_(std::move(proc)) {}
  uint32_t cpuUsage() override { return proc_->cpuLoad(); }
  // The statistics read as 0 when the host does not give them, as a missing
  // statistic reads on Windows.
  uint64_t diskCacheBytes() override {
    const auto m = proc_->meminfo();
    return m ? m->buffers + m->cached : 0;
  }
  uint64_t swapInUseBytes() override {
    const auto m = proc_->meminfo();
    return m ? m->swapTotal - m->swapFree : 0;
  }

 private:
  std::shared_ptr<ProcReader> proc_;
};

class LiveResources : public ResourceMeter {
 public:
  explicit LiveResources(std::shared_ptr<ProcReader> proc) : proc_(std::move(proc)) {}
  int32_t freePercent(int32_t heapType) override {
    switch (heapType) {
      case Heap::Gdi: return proc_->resources().gdiFree;
      case Heap::User: return proc_->resources().userFree;
      // Windows 9x reports the scarcer of the two heaps as its system resources.
      case Heap::System: {
        const auto r = proc_->resources();
        return std::min(r.gdiFree, r.userFree);
      }
      default: return 0;
    }
  }

 private:
  std::shared_ptr<ProcReader> proc_;
};

std::string unescapeMountPath(std::string_view s) {
  // mountinfo writes blanks, tabs, newlines and backslashes as \ooo.
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
      out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string windowsFileSystemName(std::string_view type) {
  if (type == "vfat") return "FAT32";
  if (type == "msdos") return "FAT";
  if (type == "ntfs" || type == "ntfs3") return "NTFS";
  if (type == "exfat") return "exFAT";
  if (type == "iso9660") return "CDFS";
  std::string up(type);
  for (char& c : up) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return up;
}

bool isUnder(const std::string& path, const std::string& mountPoint) {
  if (mountPoint == "/") return true;
  return path.compare(0, mountPoint.size(), mountPoint) == 0 &&
         (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

class LiveDisks : public DiskMeter {
 public:
  LiveDisks(fs::path procRoot, std::function<Clock::time_point()> clock, std::chrono::milliseconds freshness)
      : procRoot_(std::move(procRoot)), clock_(std::move(clock)), freshness_(freshness) {}

  std::optional<VolumeSpace> space(const fs::path& hostPath) override {
    std::lock_guard lock(mutex_);
    const auto now = clock_();
    if (at_ && hostPath == path_ && now - *at_ < freshness_) return space_;
    struct statvfs v {};
    if (::statvfs(hostPath.c_str(), &v) != 0) return std::nullopt;
    space_.totalBytes = static_cast<uint64_t>(v.f_blocks) * v.f_frsize;
    space_.freeBytes = static_cast<uint64_t>(v.f_bavail) * v.f_frsize;
    path_ = hostPath;
    at_ = now;
    return space_;
  }

  // The type of the last mount whose mount point holds the path: later
  // mounts cover earlier ones on the same point.
  std::string fileSystemName(const fs::path& hostPath) override {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(hostPath, ec);
    if (ec) return {};
    std::string text;
    if (!readKernelFile((procRoot_ / "self/mountinfo").c_str(), text)) return {};
    const std::string path = canonical.string();
    std::string best, bestType;
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      const std::string_view line(text.data() + pos, end - pos);
      pos = end + 1;
      std::vector<std::string_view> fields;
      size_t i = 0;
      while (i < line.size()) {
        const size_t sp = line.find(' ', i);
        const size_t e = sp == std::string_view::npos ? line.size() : sp;
        fields.push_back(line.substr(i, e - i));
        i = e + 1;
      }
      const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
      if (fields.size() < 5 || dash == fields.end() || dash + 1 == fields.end()) continue;
      const std::string mountPoint = unescapeMountPath(fields[4]);
      if (isUnder(path, mountPoint) && mountPoint.size() >= best.size()) {
        best = mountPoint;
        bestType = std::string(*(dash + 1));
      }
    }
    return bestType.empty() ? std::string() : windowsFileSystemName(bestType);
  }

 private:
  std::mutex mutex_;
  fs::path procRoot_;
  std::function<Clock::time_point()> clock_;
  std::chrono::milliseconds freshness_;
  std::optional<Clock::time_point> at_;
  fs::path path_;
  VolumeSpace space_;
};

}  // namespace

std::shared_ptr<Platform> makeLivePlatform(const Machine& machine, const LiveOptions& given) {
  // One clock for every provider and for the platform's own freshness.
  LiveOptions options = given;
  if (!options.clock) options.clock = [] { return Clock::now(); };
  auto platform = std::make_shared<Platform>();
  auto proc = std::make_shared<ProcReader>(options);
  platform->setMemory(std::make_shared<LiveMemory>(proc, options.procRoot));
  platform->setPerf(std::make_shared<LivePerf>(proc));
  platform->setResources(std::make_shared<LiveResources>(proc));
  platform->setDisks(std::make_shared<LiveDisks>(options.procRoot, options.clock, options.freshness));
  if (options.processor) platform->setProcessor(makeHostProcessorLibrary());
  platform->setLauncher(std::make_shared<shell::SpawnLauncher>());
  platform->setFreshness({options.clock, options.freshness});
  platform->setVersion(machine.version());
  platform->setComputerName(machine.computerName());
  return platform;
}

}  // namespace tw::sys
