#pragma once
// What the benchmark programs share: a scratch folder removed with its
// contents, and a machine made from the template as a first run finds it.

#include <stdlib.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "host/host.h"
#include "host/system/platform.h"

namespace tw::bench {

struct Scratch {
  std::filesystem::path dir;
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tunewell-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::filesystem::path operator/(const char* name) const { return dir / name; }
};

// The process's user-mode CPU time in microseconds.  A durable write spends
// most of its CPU time in the kernel (the flushes, the rename), which the
// benchmark's CPU time counts as well; this tells the program's own share.
inline double userCpuMicroseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec) * 1e6 + static_cast<double>(usage.ru_utime.tv_usec);
}

// The baseline of a gauge refresh: the raw reads of the host's figures that
// the meters make, /proc/stat, /proc/meminfo and the drive's statvfs, once.
inline size_t readWholeFile(const char* path) {
  static char buf[65536];
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  size_t total = 0;
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) total += static_cast<size_t>(n);
  ::close(fd);
  return total;
}

inline size_t rawGaugeReads(const std::string& driveRoot) {
  struct statvfs v {};
  return readWholeFile("/proc/stat") + readWholeFile("/proc/meminfo") +
         static_cast<size_t>(::statvfs(driveRoot.c_str(), &v));
}

// A fresh machine whose gauges measure this host on a clock the benchmark
// moves: tick() moves it by the shortest refresh interval, so that every
// refresh reads the host afresh as a real tick does.
struct LiveMachine {
  Scratch scratch;
  std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
  Host host{scratch / "machine", dialogs};
  std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();

  LiveMachine() {
    sys::LiveOptions options;
    options.clock = [this] { return now; };
    host.setPlatform(sys::makeLivePlatform(host.machine(), options));
  }
  void tick() { now += std::chrono::milliseconds(250); }
  // A machine's folders have not just been made; a folder changed within
  // the last two whole seconds of the clock is listed afresh on every
  // look-up, so the wait is longer than that by a second.
  static void letFoldersSettle() { std::this_thread::sleep_for(std::chrono::milliseconds(3100)); }
};

struct TemplateMachine {
  Scratch scratch;
  std::unique_ptr<Host> host;
  explicit TemplateMachine(std::shared_ptr<sys::Platform> platform = nullptr)
      : host(std::make_unique<Host>(scratch / "machine", std::make_shared<ScriptedDialogs>(), std::move(platform))) {}
  std::filesystem::path programFolder() const { return scratch.dir / "machine" / "Program Files" / "Tunewell"; }
};

}  // namespace tw::bench
