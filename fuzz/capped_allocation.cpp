#include "capped_allocation.h"

#include <new>

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
    const size_t size = firstRefusedSize;
    firstRefusedSize = 0;
    return size;
}
