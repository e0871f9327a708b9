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

// AddressSanitizer keeps 256 MiB of freed memory filled and mapped, most of a long campaign's RSS.
// A run frees at most about one capped allocation, so 32 MiB still catches a use after free within
// the runs before; ASAN_OPTIONS overrides it.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=32";
}
