#include "tests/support/fixed_platform.h"

#include "host/runtime/errors.h"

namespace tw::test {

sys::CpuidRegs FixedFigures::ReadCPUID(uint32_t leaf) {
  switch (leaf) {
    case 0: return {1, 0x756E6547, 0x6C65746E, 0x49656E69};  // highest leaf 1, "GenuineIntel"
    case 1: return {0x00000683, 0x00000002, 0, 0x0383F9FF};  // family 6, model 8, brand 2
    default: return {};
  }
}

uint32_t FixedFigures::GetCPUSpeed() {
  if (clockFails) raise(ErrNo::InvalidProcedureCall);
  return clockMHz;
}

std::shared_ptr<sys::Platform> fixedPlatform(const std::shared_ptr<FixedFigures>& figures) {
  auto platform = std::make_shared<sys::Platform>();
  platform->setMemory(figures);
  platform->setPerf(figures);
  platform->setResources(figures);
  platform->setDisks(figures);
  platform->setProcessor(figures);
  platform->setComputerName("TUNEWELL98");
  return platform;
}

}  // namespace tw::test
