#pragma once

#include <cstdint>

// A time of day on the 24-hour clock.
struct TimeOfDay {
    uint8_t hour = 0;    // 0 to 23
    uint8_t minute = 0;  // 0 to 59
    uint8_t second = 0;  // 0 to 59
};
