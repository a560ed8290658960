#include "host/system/platform.h"

#include "host/shell/shell.h"
#include "host/system/perf_stats.h"

namespace tw::sys {

uint32_t ProcessorLibrary::ReadBITS(uint32_t value, uint32_t firstBit, uint32_t count) {
  if (firstBit >= 32 || count == 0) return 0;
  const uint64_t shifted = static_cast<uint64_t>(value) >> firstBit;
  const uint64_t mask = count >= 32 ? 0xFFFFFFFFull : (1ull << count) - 1;
  return static_cast<uint32_t>(shifted & mask);
}

Platform::Platform() : dynData_(std::make_shared<PerfStatsSource>()) {}
Platform::~Platform() = default;

void Platform::setPerf(std::shared_ptr<PerfCounters> p) {
  perf_ = std::move(p);
  dynData_->setCounters(perf_);
}

void Platform::setComputerName(std::string name) {
  // GetComputerName never reports more than a NetBIOS name holds.
  constexpr size_t kMaxComputerNameLength = 15;
  if (name.size() > kMaxComputerNameLength) name.resize(kMaxComputerNameLength);
  computerName_ = std::move(name);
}

std::shared_ptr<reg::DynDataSource> Platform::dynData() const { return dynData_; }

}  // namespace tw::sys
