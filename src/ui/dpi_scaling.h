#pragma once

// The few layout numbers the dialogs hold in pixels (margins, offsets, the picture's size) are
// meant at 96 DPI (100 %); at a higher DPI they grow in proportion, as the templates' dialog units
// do, so the layout keeps its look at 125 % to 200 %.

#include <cstdint>

constexpr uint32_t kDefaultDpi = 96;

// `pixels` at 96 DPI, at `dpi`, rounded to the nearest pixel with halves away from zero. A dpi of
// 0 (unknown) leaves the pixels as they are; results beyond 32 bits are clamped.
int32_t ScaleToDpi(int32_t pixels, uint32_t dpi);
