#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// The stand-in's answer for `units` with an ample buffer; empty with the count on failure.
std::string Convert(const std::vector<uint16_t>& units, int* written = nullptr) {
    char out[64];
    const int count = platform::WideCharToMultiByte(0, units.data(), static_cast<int>(units.size()),
                                                    out, sizeof out);
    if (written != nullptr) *written = count;
    return std::string(out, count > 0 ? count : 0);
}

TEST(WideCharStandIn, MapsWindows1252) {
    EXPECT_EQ(Convert({'O', 'K'}), "OK");
    EXPECT_EQ(Convert({0x00E9, 0x00A0, 0x00FF}), "\xE9\xA0\xFF");
    EXPECT_EQ(Convert({0x20AC, 0x2122, 0x0178, 0x2026}), "\x80\x99\x9F\x85");
    EXPECT_EQ(Convert({0x0081, 0x009D}), "\x81\x9D");  // the C1 controls it keeps
    EXPECT_EQ(Convert({0x0080, 0x0100, 0x4E2D}), "???");
}

TEST(WideCharStandIn, SurrogatesBecomeDefaultCharacters) {
    EXPECT_EQ(Convert({'a', 0xD83D, 0xDE00, 'b'}), "a?b");  // one character, one '?'
    EXPECT_EQ(Convert({0xD83D, 'x', 0xDE00}), "?x?");       // lone halves
    EXPECT_EQ(Convert({'x', 0xD83D}), "x?");                // a high half at the end
}

TEST(WideCharStandIn, FailsLikeWindows) {
    const uint16_t units[] = {'a', 'b', 'c', 0};
    char out[8] = {};
    EXPECT_EQ(platform::WideCharToMultiByte(0, units, 0, out, sizeof out), 0);
    EXPECT_EQ(platform::WideCharToMultiByte(0, units, 3, out, 2), 0);      // too small
    EXPECT_EQ(platform::WideCharToMultiByte(0, units, 3, nullptr, 0), 3);  // sizing call
    EXPECT_EQ(platform::WideCharToMultiByte(0, units, 2, out, 2), 2);      // exactly `count` units
    EXPECT_EQ(std::string(out, 2), "ab");
    EXPECT_EQ(platform::WideCharToMultiByte(0, units, -1, out, sizeof out), 4);  // with the zero
    EXPECT_EQ(std::string(out, 4), std::string("abc\0", 4));
}

}  // namespace
