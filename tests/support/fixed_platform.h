#pragma once
// Every source the system library reads, with fixed figures that a test can
// change and meters that a test can break: the memory, statistics, resource
// heaps, drive and processor of a small Windows 98 machine.  What the tuner
// shows then follows the test, not the host it runs on.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "host/system/platform.h"

namespace tw::test {

struct FixedFigures : sys::MemoryMeter, sys::PerfCounters, sys::ResourceMeter, sys::DiskMeter, sys::ProcessorLibrary {
  static constexpr uint64_t MB = 1024 * 1024;

  // 64 MB of memory, half of it in use; a page file of the same size.
  sys::MemoryStatus memory{50, 64 * MB, 32 * MB, 64 * MB, 32 * MB, 2048 * MB, 1024 * MB};
  uint32_t cpu = 12;
  uint64_t diskCache = 8 * MB;
  uint64_t swapInUse = 0;
  std::array<int32_t, 3> free{80, 75, 90};  // percent free, by heap type: system, GDI, user
  // nullopt: the drive's figures cannot be had.
  std::optional<sys::VolumeSpace> volume = sys::VolumeSpace{2146467840, 1073741824};
  std::string hostFileSystem = "EXT4";
  // A 500 MHz Pentium III, whose clock measures one short.
  uint32_t clockMHz = 499;
  bool clockFails = false;

  sys::MemoryStatus status() override { return memory; }
  uint32_t cpuUsage() override { return cpu; }
  uint64_t diskCacheBytes() override { return diskCache; }
  uint64_t swapInUseBytes() override { return swapInUse; }
  int32_t freePercent(int32_t heapType) override { return free.at(static_cast<size_t>(heapType)); }
  std::optional<sys::VolumeSpace> space(const std::filesystem::path&) override { return volume; }
  std::string fileSystemName(const std::filesystem::path&) override { return hostFileSystem; }
  sys::CpuidRegs ReadCPUID(uint32_t leaf) override;
  uint32_t GetCPUSpeed() override;
};

// A platform whose every source is `figures`, with the version of a fresh
// Windows 98 SE and the template's computer name.
std::shared_ptr<sys::Platform> fixedPlatform(const std::shared_ptr<FixedFigures>& figures);

}  // namespace tw::test
