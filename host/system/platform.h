#pragma once
// The operating-system figures the system library reads, one small interface
// per source, so that the programs read them live from the Linux host
// (makeLivePlatform) and tests hand in fixed figures.
//
// A source that is not there (a null provider) stands for the Windows 9x
// library it replaces being absent: the system library then fails the way it
// fails without that library (no resource meter: "File not found:
// rsrc32.dll"; no processor library: "File not found: TwSys32.dll"; no
// performance statistics: the HKEY_DYN_DATA keys are missing and read as 0).

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/machine/machine.h"

namespace tw::reg {
class DynDataSource;
}

namespace tw::shell {
class Launcher;
}

namespace tw::sys {

class PerfStatsSource;  // host/system/perf_stats.h

// What GlobalMemoryStatus reports.  The sizes are 64-bit: a host with 2 GB
// or more reports its real figures instead of a wrapped 32-bit count.
struct MemoryStatus {
  uint32_t memoryLoad = 0;  // percent of physical memory in use
  uint64_t totalPhys = 0;
  uint64_t availPhys = 0;
  uint64_t totalPageFile = 0;
  uint64_t availPageFile = 0;
  uint64_t totalVirtual = 0;
  uint64_t availVirtual = 0;
};

class MemoryMeter {
 public:
  virtual ~MemoryMeter() = default;
  // Throws RuntimeError when the figures cannot be read.
  virtual MemoryStatus status() = 0;
};

// The Windows 9x dynamic statistics that HKEY_DYN_DATA serves.
class PerfCounters {
 public:
  virtual ~PerfCounters() = default;
  // Processor load in percent (0 to 100) since the previous reading.
  virtual uint32_t cpuUsage() = 0;
  virtual uint64_t diskCacheBytes() = 0;
  virtual uint64_t swapInUseBytes() = 0;
};

// The resource meter: the free share, in percent, of one resource heap.
namespace Heap {
constexpr int32_t System = 0;
constexpr int32_t Gdi = 1;
constexpr int32_t User = 2;
}  // namespace Heap

class ResourceMeter {
 public:
  virtual ~ResourceMeter() = default;
  // 0 for a heap type that does not exist.
  virtual int32_t freePercent(int32_t heapType) = 0;
};

struct CpuidRegs {
  uint32_t eax = 0;
  uint32_t ebx = 0;
  uint32_t ecx = 0;
  uint32_t edx = 0;
  bool operator==(const CpuidRegs&) const = default;
};

// The processor-information library: the CPUID instruction, a bit-field
// helper and the measured clock.
class ProcessorLibrary {
 public:
  virtual ~ProcessorLibrary() = default;
  virtual CpuidRegs ReadCPUID(uint32_t leaf) = 0;
  // The processor clock in MHz.  Throws RuntimeError when it cannot be measured.
  virtual uint32_t GetCPUSpeed() = 0;
  // The `count` bits of `value` from bit `firstBit` up (bit 0 the least
  // significant), shifted down to bit 0.
  static uint32_t ReadBITS(uint32_t value, uint32_t firstBit, uint32_t count);
};

// Size figures of the file system that holds a host path.
struct VolumeSpace {
  uint64_t totalBytes = 0;
  uint64_t freeBytes = 0;  // what an unprivileged user may still write
};

class DiskMeter {
 public:
  virtual ~DiskMeter() = default;
  // nullopt when the path's file system cannot be asked.
  virtual std::optional<VolumeSpace> space(const std::filesystem::path& hostPath) = 0;
  // The file system's name as Windows would print it ("FAT32", "NTFS",
  // otherwise the host's own name in capitals); "" when unknown.
  virtual std::string fileSystemName(const std::filesystem::path& hostPath) = 0;
};

class Platform {
 public:
  // A platform with no providers, the version of a fresh Windows 98 SE and
  // no computer name; tests set what they need.
  Platform();
  virtual ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  MemoryMeter* memory() const { return memory_.get(); }
  PerfCounters* perf() const { return perf_.get(); }
  ResourceMeter* resources() const { return resources_.get(); }
  ProcessorLibrary* processor() const { return processor_.get(); }
  DiskMeter* disks() const { return disks_.get(); }
  shell::Launcher* launcher() const { return launcher_.get(); }
  const WindowsVersion& version() const { return version_; }
  // ANSI, at most 15 characters (a NetBIOS name).
  const std::string& computerName() const { return computerName_; }

  void setMemory(std::shared_ptr<MemoryMeter> m) { memory_ = std::move(m); }
  void setPerf(std::shared_ptr<PerfCounters> p);
  void setResources(std::shared_ptr<ResourceMeter> r) { resources_ = std::move(r); }
  void setProcessor(std::shared_ptr<ProcessorLibrary> p) { processor_ = std::move(p); }
  void setDisks(std::shared_ptr<DiskMeter> d) { disks_ = std::move(d); }
  void setLauncher(std::shared_ptr<shell::Launcher> l) { launcher_ = std::move(l); }
  void setVersion(WindowsVersion v) { version_ = std::move(v); }
  // Longer names are cut to the 15 characters a NetBIOS name holds.
  void setComputerName(std::string name);

  // How long a reading of the live figures stays fresh, and the clock that
  // tells: readings closer together than `period` may share one.  Without
  // a clock (the fixed figures of tests) every reading is taken afresh.
  struct Freshness {
    std::function<std::chrono::steady_clock::time_point()> clock;
    std::chrono::milliseconds period{0};
  };
  const Freshness& freshness() const { return freshness_; }
  void setFreshness(Freshness f) { freshness_ = std::move(f); }

  // HKEY_DYN_DATA for the registry: the performance statistics of perf(),
  // read afresh on every query.  The same source for the platform's life;
  // setPerf() changes what it serves.
  std::shared_ptr<reg::DynDataSource> dynData() const;

 private:
  std::shared_ptr<MemoryMeter> memory_;
  std::shared_ptr<PerfCounters> perf_;
  std::shared_ptr<ResourceMeter> resources_;
  std::shared_ptr<ProcessorLibrary> processor_;
  std::shared_ptr<DiskMeter> disks_;
  std::shared_ptr<shell::Launcher> launcher_;
  std::shared_ptr<PerfStatsSource> dynData_;
  WindowsVersion version_;
  std::string computerName_;
  Freshness freshness_;
};

// Where the live providers read and how long one reading stays fresh.  All
// gauges of one refresh ask within a few milliseconds; reading the kernel's
// figures once for all of them keeps a refresh close to the cost of one raw
// read, while ticks (250 ms and more apart) always see new figures.  The
// slow-moving figures that take more work to gather (the resource tables and
// the process's address space) are read at most once a second.
struct LiveOptions {
  std::filesystem::path procRoot = "/proc";
  std::function<std::chrono::steady_clock::time_point()> clock;  // steady_clock::now when empty
  std::chrono::milliseconds freshness{100};
  // The processor library needs the CPUID instruction; false leaves it out
  // even on a processor that has it.
  bool processor = true;
};

// The platform of the Linux host: memory, statistics and resources from
// procRoot, drive figures of the file system that holds the machine folder,
// CPUID and a measured clock (x86 only), version and computer name of the
// machine, programs started with posix_spawn.
std::shared_ptr<Platform> makeLivePlatform(const Machine& machine, const LiveOptions& options = {});

}  // namespace tw::sys
