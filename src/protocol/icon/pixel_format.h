#pragma once

#include <cstdint>

// Pictures are 32-bit pixels: red, green, blue and alpha in the product's own buffers, blue,
// green, red and one more byte in GDI's 32-bit bitmaps. Rows have no padding either way.
constexpr uint32_t kBytesPerPixel = 4;
