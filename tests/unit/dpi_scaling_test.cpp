#include "ui/dpi_scaling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(ScaleToDpi, GrowsInProportionAndRoundsHalvesAwayFromZero) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const struct {
        int32_t pixels;
        uint32_t dpi;
        int32_t scaled;
    } cases[] = {
        {180, 96, 180},    {180, 120, 225},   {180, 144, 270},
        {180, 192, 360},   {15, 120, 19},      // 18.75
        {15, 144, 23},                         // 22.5: the half goes up
        {-15, 144, -23},                       // and away from zero below it
        {1, 143, 1},                           // 1.49
        {1, 144, 2},                           // 1.5
        {64, 72, 48},                          // below 96 too
        {0, 192, 0},       {37, 0, 37},        // unknown DPI: as it is
        {kMax, 192, kMax}, {kMin, 192, kMin},  // clamped, never wrapped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleToDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " px at " << c.dpi;
    }
}

}  // namespace
