#include "ui/qt/heap_headroom.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace tw::qt {

namespace {

constexpr int kGrowthStep = 1 << 20;

char* heapEnd() { return static_cast<char*>(sbrk(0)); }

}  // namespace

HeapHeadroom::HeapHeadroom() {
  // Beyond what each request needs, the heap takes this much more from the
  // system whenever it grows: the room makePresent fills in.
  mallopt(M_TOP_PAD, kGrowthStep);
  start_ = heapEnd();
  // The heap takes its first step now, so that the room is there to fill
  // however little the program allocates before makePresent: a block one
  // byte larger than what is free at the top does it.
  void* volatile step = std::malloc(mallinfo2().keepcost + 1);
  std::free(step);
}

void HeapHeadroom::makePresent() const {
#ifdef MADV_POPULATE_WRITE
  if (start_ == reinterpret_cast<char*>(-1)) return;
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  char* from = reinterpret_cast<char*>(reinterpret_cast<std::uintptr_t>(start_) & ~(page - 1));
  char* to = heapEnd();
  // Only maps pages: what the main thread has written meanwhile stays, and
  // a heap that shrank meanwhile just makes the call fail.
  if (to > from) madvise(from, static_cast<std::size_t>(to - from), MADV_POPULATE_WRITE);
#endif
}

}  // namespace tw::qt
