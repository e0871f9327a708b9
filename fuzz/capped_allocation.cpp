#include "capped_allocation.h"

#include <new>
#include <utility>

namespace {
size_t firstRefusedSize = 0;
}  // namespace

// Under the cap, the sanitizer's own array allocation, which delete[] matches; it reports memory
// exhaustion rather than throwing.
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    if (size <= kFuzzAllocationCap) return ::operator new[](size);
    if (firstRefusedSize == 0) firstRefusedSize = size;
    return nullptr;
}

size_t TakeRefusedAllocation() {
    return std::exchange(firstRefusedSize, 0);
}

// The default 256 MiB of freed memory, filled and mapped, was most of a campaign's RSS; a run frees
// at most about one capped allocation, so 32 MiB still keeps the runs before it poisoned.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=32";
}
