#pragma once

#include <cstdint>

// Timestamps and durations count microseconds.
constexpr int64_t kMicrosecondsPerSecond = 1000000;
