#include "host/system/cpuid.h"

#include <time.h>

#include <chrono>
#include <thread>

#include "host/runtime/errors.h"
#include "host/runtime/vbconv.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define TW_HAVE_CPUID 1
#endif

namespace tw::sys {

#ifdef TW_HAVE_CPUID

namespace {

uint64_t nanosecondsNow() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC_RAW, &t);
  return static_cast<uint64_t>(t.tv_sec) * 1000000000ull + static_cast<uint64_t>(t.tv_nsec);
}

class X86ProcessorLibrary : public ProcessorLibrary {
 public:
  CpuidRegs ReadCPUID(uint32_t leaf) override {
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid_count(leaf, 0, a, b, c, d);
    return {a, b, c, d};
  }

  // Counts time-stamp cycles across a 2 ms pause of the monotonic clock.
  // The pause only sets the length of the window: both ends are read, so
  // oversleeping makes the figure no less exact, and the tens of
  // nanoseconds between the two readings at each end leave it within a
  // tenth of a megahertz.  A longer pause would be time the tuner's window
  // waits for at start-up.  On every processor of the last two decades the
  // counter runs at the rated clock whatever the power state.
  uint32_t GetCPUSpeed() override {
    if (!hasTimeStampCounter()) raise(ErrNo::InvalidProcedureCall);
    const uint64_t t0 = nanosecondsNow();
    const uint64_t c0 = __rdtsc();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const uint64_t c1 = __rdtsc();
    const uint64_t t1 = nanosecondsNow();
    if (t1 <= t0 || c1 <= c0) raise(ErrNo::InvalidProcedureCall);
    const double mhz = static_cast<double>(c1 - c0) * 1000.0 / static_cast<double>(t1 - t0);
    return static_cast<uint32_t>(roundHalfEven(mhz));
  }

 private:
  bool hasTimeStampCounter() {
    if (__get_cpuid_max(0, nullptr) < 1) return false;
    constexpr uint32_t kTscBit = 1u << 4;
    return (ReadCPUID(1).edx & kTscBit) != 0;
  }
};

}  // namespace

std::shared_ptr<ProcessorLibrary> makeHostProcessorLibrary() {
#ifndef __x86_64__
  // __get_cpuid_max tries to flip the ID flag first, so on a processor
  // without CPUID it says 0 instead of faulting.  (A processor with CPUID but
  // no leaf beyond 0 answers 0 as well and is taken as one without.)
  if (__get_cpuid_max(0, nullptr) == 0) return nullptr;
#endif
  return std::make_shared<X86ProcessorLibrary>();
}

#else

std::shared_ptr<ProcessorLibrary> makeHostProcessorLibrary() { return nullptr; }

#endif

}  // namespace tw::sys
