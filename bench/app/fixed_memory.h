#pragma once
// The tuner's benchmarks run on a machine with fixed memory figures, so that
// start-up's presets and gauges do not follow the host.

#include "bench/bench_support.h"
#include "host/system/platform.h"

namespace tw::bench {

inline std::shared_ptr<sys::Platform> fixedMemoryPlatform() {
  struct FixedMemory : sys::MemoryMeter {
    sys::MemoryStatus status() override {
      return {40, 128ull << 20, 64ull << 20, 256ull << 20, 128ull << 20, 2ull << 30, 1ull << 30};
    }
  };
  auto platform = std::make_shared<sys::Platform>();
  platform->setMemory(std::make_shared<FixedMemory>());
  return platform;
}

}  // namespace tw::bench
