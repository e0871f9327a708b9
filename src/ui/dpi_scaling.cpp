#include "ui/dpi_scaling.h"

#include <algorithm>
#include <limits>

int32_t ScaleToDpi(int32_t pixels, uint32_t dpi) {
    if (dpi == 0 || dpi == kDefaultDpi) return pixels;
    const int64_t scaled = static_cast<int64_t>(pixels) * dpi;
    const int64_t half = kDefaultDpi / 2;
    const int64_t rounded = (scaled >= 0 ? scaled + half : scaled - half) / kDefaultDpi;
    const int64_t low = std::numeric_limits<int32_t>::min();
    const int64_t high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(rounded, low, high));
}
