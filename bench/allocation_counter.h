// Counts operator new calls made on threads that asked to be counted. The
// module is loaded into this process, so its allocations pass through the
// replacement operators defined in allocation_counter.cc.
#pragma once

#include <cstdint>

namespace qv::bench {

// From now on, allocations on the calling thread are counted.
void CountAllocationsOnThisThread();
uint64_t CountedAllocations();

}  // namespace qv::bench
