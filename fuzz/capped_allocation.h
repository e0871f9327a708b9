#pragma once

// Linked into every fuzz target (fuzz/CMakeLists.txt): a nothrow array allocation over the cap
// fails as if refused, so a huge count in a request takes its allocation-failure reply without the
// sanitizer mapping gigabytes; AddressSanitizer's quarantine is smaller too.

#include <cstddef>

constexpr size_t kFuzzAllocationCap = size_t{1} << 20;

size_t TakeRefusedAllocation();  // the first size refused since the last call, else 0
