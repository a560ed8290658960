#pragma once
// The processor-information library of this host: the CPUID instruction and
// the processor clock measured against the time-stamp counter.

#include <memory>

#include "host/system/platform.h"

namespace tw::sys {

// Null on a processor without the CPUID instruction (every non-x86 host,
// and x86 processors older than the late 486s), as if the library were
// missing.
std::shared_ptr<ProcessorLibrary> makeHostProcessorLibrary();

}  // namespace tw::sys
