#pragma once

// In the fuzz targets a nothrow array allocation over the cap fails as if the system had refused
// it: a huge count in a request takes its allocation-failure reply at once instead of having
// AddressSanitizer map and poison gigabytes. Every target in fuzz/targets.txt links it (and with it
// a smaller quarantine).

#include <cstddef>

constexpr size_t kFuzzAllocationCap = size_t{1} << 20;

// The size of the first allocation refused since the last call, else 0; clears it.
size_t TakeRefusedAllocation();
