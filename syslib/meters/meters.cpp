// The meters of Plinth: memory, processor load, drive, disk cache, swap
// file and resource heaps, each in megabytes with a percentage for a gauge.

#include <array>
#include <cstdint>

#include "host/files/file_system.h"
#include "host/host.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"
#include "syslib/registry/registry_support.h"

namespace tw {

namespace {

// The runtime's floating-point division: a zero divisor is Division by zero,
// except for 0 / 0, which the runtime reports as Overflow.
double divide(double a, double b) {
  if (b == 0) raise(a == 0 ? ErrNo::Overflow : ErrNo::DivisionByZero);
  return a / b;
}

// A byte count in MB, rounded (halves to even) to a 32-bit integer.
int32_t megabytes(double bytes) { return toLong(bytes / 1024 / 1024); }

// Long arithmetic that raises Overflow instead of wrapping.
int32_t longSum(int64_t x) { return toLong(static_cast<double>(x)); }

// A gauge's percentage of `part` in `whole`, rounded to a 16-bit integer.
int16_t percentage(double part, double whole) { return toInteger(divide(part, whole) * 100); }

}  // namespace

void Plinth::GlobalMemoryStatus() {
  sys::MemoryMeter* meter = host_.platform().memory();
  if (!meter) raise(ErrNo::FileNotFound, "File not found: kernel32");
  const sys::MemoryStatus s = meter->status();
  Memory.dwLength = sizeof(MemoryRecord);
  Memory.dwMemoryLoad = s.memoryLoad;
  Memory.ullTotalPhys = s.totalPhys;
  Memory.ullAvailPhys = s.availPhys;
  Memory.ullTotalPageFile = s.totalPageFile;
  Memory.ullAvailPageFile = s.availPageFile;
  Memory.ullTotalVirtual = s.totalVirtual;
  Memory.ullAvailVirtual = s.availVirtual;
}

double Plinth::memoryFigure(const char* procedure, uint64_t MemoryRecord::*field) {
  return reportErrors(host_.dialogs(), procedure, 0.0, [&] {
    GlobalMemoryStatus();
    return static_cast<double>(Memory.*field);
  });
}

double Plinth::AvailablePhysicalMemory() {
  return memoryFigure("Plinth.AvailablePhysicalMemory", &MemoryRecord::ullAvailPhys);
}
double Plinth::TotalPhysicalMemory() { return memoryFigure("Plinth.TotalPhysicalMemory", &MemoryRecord::ullTotalPhys); }
double Plinth::AvailablePageFile() { return memoryFigure("Plinth.AvailablePageFile", &MemoryRecord::ullAvailPageFile); }
double Plinth::PageFileSize() { return memoryFigure("Plinth.PageFileSize", &MemoryRecord::ullTotalPageFile); }

int32_t Plinth::readStatistic(const char* key, const char* value) {
  reg::Registry& registry = host_.registry();
  KeyHandle h(registry);
  if (registry.RegOpenKey(reg::HKEY_DYN_DATA, key, h.out()) != reg::ERROR_SUCCESS) return 0;
  std::array<uint8_t, 4> buffer{};
  reg::DWORD type = reg::REG_DWORD;
  reg::DWORD size = static_cast<reg::DWORD>(buffer.size());
  if (registry.RegQueryValueEx(h, value, &type, buffer.data(), &size) != reg::ERROR_SUCCESS) return 0;
  return fromLittleEndian(buffer);
}

// Reading a statistic under StartStat is what starts its collection on
// Windows 9x; the value read there means nothing.
void Plinth::InitCPUUsage() {
  reportErrors(host_.dialogs(), "Plinth.InitCPUUsage",
               [&] { readStatistic("PerfStats\\StartStat", "KERNEL\\CPUUsage"); });
}

int32_t Plinth::GetCPUUsage() {
  return reportErrors(host_.dialogs(), "Plinth.GetCPUUsage", int32_t{0}, [&] {
    InitCPUUsage();
    return readStatistic("PerfStats\\StatData", "KERNEL\\CPUUsage");
  });
}

int32_t Plinth::HardDrive(int16_t& Percnt) {
  return reportErrors(host_.dialogs(), "Plinth.HardDrive", int32_t{0}, [&] {
    const FileSystem fso(host_.machine(), host_.platform().disks());
    const Drive drive = fso.GetDrive(left(fso.GetSpecialFolder(0), 2));
    const int32_t total = megabytes(drive.TotalSize());
    const int32_t free = megabytes(drive.FreeSpace());
    const int32_t used = longSum(int64_t{total} - free);
    Percnt = percentage(used, total);
    return used;
  });
}

int32_t Plinth::CacheSize(int16_t& Percnt) {
  return reportErrors(host_.dialogs(), "Plinth.CacheSize", int32_t{0}, [&] {
    const int32_t physical = megabytes(TotalPhysicalMemory());
    const Variant raw = GetValue(HKEY_DYN_DATA, "PerfStats\\StatData", "VMM\\cpgDiskcache", Variant(int32_t{0}), true);
    const int32_t cache = megabytes(raw.toLong());
    Percnt = percentage(cache, physical);
    return cache;
  });
}

int32_t Plinth::PhysicalMemory(int16_t& Percnt) {
  return reportErrors(host_.dialogs(), "Plinth.PhysicalMemory", int32_t{0}, [&] {
    const int32_t total = megabytes(TotalPhysicalMemory());
    const int32_t available = megabytes(AvailablePhysicalMemory());
    const int32_t used = longSum(int64_t{total} - available);
    Percnt = percentage(used, total);
    return used;
  });
}

// The swap file is Win386.swp in the Windows folder or in its System folder.
// SystemMemory and PageSize both look for it, microseconds apart on every
// refresh, and each look costs the host a visit to both folders; within the
// platform's freshness period the second takes the first one's answer, as
// the memory figures are shared.
std::optional<double> Plinth::swapFileBytes() {
  const sys::Platform::Freshness& fresh = host_.platform().freshness();
  const auto now = fresh.clock ? fresh.clock() : std::chrono::steady_clock::time_point();
  if (fresh.clock && swapFileLook_ && now - swapFileLook_->at < fresh.period) return swapFileLook_->bytes;
  const FileSystem fso(host_.machine(), host_.platform().disks());
  const std::string windows = fso.GetSpecialFolder(0);
  std::optional<double> bytes;
  for (const char* place : {"\\Win386.swp", "\\System\\Win386.swp"}) {
    const std::string file = windows + place;
    if (fso.FileExists(file)) {
      bytes = fso.FileSize(file);
      break;
    }
  }
  swapFileLook_ = SwapFileLook{now, bytes};
  return bytes;
}

// Without a swap file, SystemMemory takes the page file's figures and
// PageSize the statistic of the swap file in use.
int32_t Plinth::swapFileMB(bool fromPageFile) {
  if (const auto bytes = swapFileBytes()) return megabytes(*bytes);
  if (fromPageFile) {
    const int32_t total = toLong(PageFileSize() / 1024);
    const int32_t available = toLong(AvailablePageFile() / 1024);
    return toLong(static_cast<double>(int64_t{total} - available) / 1024);
  }
  return megabytes(readStatistic("PerfStats\\StatData", "VMM\\cpgSwapfile"));
}

Variant Plinth::SystemMemory(int16_t& Percnt) {
  return reportErrors(host_.dialogs(), "Plinth.SystemMemory", Variant(), [&] {
    const int32_t swap = swapFileMB(true);
    const int32_t total = megabytes(TotalPhysicalMemory());
    const int32_t available = megabytes(AvailablePhysicalMemory());
    const int32_t sum = longSum(int64_t{total} - available + swap);
    // A gauge that shows nothing looks broken; virtual memory is never unused.
    int16_t p = percentage(sum, 4096);
    if (p < 1) p = 1;
    Percnt = p;
    return Variant(sum);
  });
}

int32_t Plinth::PageSize(int16_t& Percnt) {
  return reportErrors(host_.dialogs(), "Plinth.PageSize", int32_t{0}, [&] {
    const int32_t swap = swapFileMB(false);
    const FileSystem fso(host_.machine(), host_.platform().disks());
    const int32_t drive = megabytes(fso.GetDrive(left(fso.GetSpecialFolder(0), 2)).TotalSize());
    int16_t p = percentage(swap, drive);
    if (p < 1) p = 1;
    Percnt = p;
    return swap;
  });
}

void Plinth::ResStatus(int16_t& heapType, int16_t& freePercent) {
  reportErrors(host_.dialogs(), "Plinth.ResStatus", [&] {
    sys::ResourceMeter* meter = host_.platform().resources();
    if (!meter) raise(ErrNo::FileNotFound, "File not found: rsrc32.dll");
    freePercent = toInteger(meter->freePercent(heapType));
  });
}

// The heaps exist only on Windows 95, 98 and ME (platform 1); elsewhere the
// outputs keep what they hold.  A heap whose figure cannot be had counts as
// having nothing free.
void Plinth::Resources(int16_t& Sys, int16_t& Use, int16_t& GDI) {
  reportErrors(host_.dialogs(), "Plinth.Resources", [&] {
    GetVersionEx();
    if (OSInfo.dwPlatformId != 1) return;
    const auto load = [&](int16_t heapType) {
      int16_t free = 0;
      ResStatus(heapType, free);
      return toInteger(100.0 - free);
    };
    Sys = load(sys::Heap::System);
    Use = load(sys::Heap::User);
    GDI = load(sys::Heap::Gdi);
  });
}

}  // namespace tw
