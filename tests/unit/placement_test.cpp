#include "ui/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/picture_layout.h"

namespace {

constexpr ScreenSize kScreen = {true, 1280, 1024};

TEST(ResolveStartPoint, CentresTheClientAreaWhileTheSentinelIsStored) {
    Point stored = kCentreSentinel;
    const Point start = ResolveStartPoint(stored, kScreen, {true, 448, 138});
    EXPECT_EQ(start.x, 640 - 224);
    EXPECT_EQ(start.y, 512 - 69);
    EXPECT_EQ(stored.x, start.x);  // the stored pair no longer holds the sentinel
    EXPECT_EQ(stored.y, start.y);
}

TEST(ResolveStartPoint, UsesAStoredPositionUnlessBothCoordinatesAreTheSentinel) {
    Point stored = {-100, 5};
    const Point start = ResolveStartPoint(stored, kScreen, {true, 448, 138});
    EXPECT_EQ(start.x, -100);
    EXPECT_EQ(start.y, 5);
}

TEST(ResolveStartPoint, ClampsToTheScreenWithTheRightEdgeLast) {
    Point stored = kCentreSentinel;
    // Wider than the screen: the negative start is first raised to 0, then the right clamp
    // moves it to W - w, which is negative again.
    const Point wide = ResolveStartPoint(stored, {true, 800, 600}, {true, 1000, 100});
    EXPECT_EQ(wide.x, -200);
    EXPECT_EQ(wide.y, 250);
}

TEST(ResolveStartPoint, FallsBackWithoutScreenOrClientRectangle) {
    Point stored = kCentreSentinel;
    const Point noScreen = ResolveStartPoint(stored, {}, {true, 3000, 3000});
    EXPECT_EQ(noScreen.x, 0);  // 100 - 1500 is raised to 0; no edge clamp without a screen
    EXPECT_EQ(noScreen.y, 0);
    stored = kCentreSentinel;
    const Point noClient = ResolveStartPoint(stored, kScreen, {});
    EXPECT_EQ(noClient.x, 540);
    EXPECT_EQ(noClient.y, 412);
    stored = kCentreSentinel;
    const Point smallClient = ResolveStartPoint(stored, {}, {true, 100, 60});
    EXPECT_EQ(smallClient.x, 50);  // centred on (100, 100)
    EXPECT_EQ(smallClient.y, 70);
    stored = kCentreSentinel;
    const Point smallScreen = ResolveStartPoint(stored, {true, 398, 198}, {});
    EXPECT_EQ(smallScreen.x, 98);  // 199 - 100, moved left so that 300 pixels fit
    EXPECT_EQ(smallScreen.y, -2);  // 200 pixels do not fit: the bottom edge wins
}

constexpr WorkArea kArea = {0, 0, 1280, 984};
constexpr FrameMetrics kFrame = {4, 4, 19};
constexpr ClientSize kClient = {true, 448, 138};

TEST(KeepPointInWorkArea, NoCorrectionInsideTheWorkArea) {
    EXPECT_FALSE(KeepPointInWorkArea(100, 100, kArea, kClient, kFrame).move);
    EXPECT_FALSE(KeepPointInWorkArea(1280 - 448, 984 - 138, kArea, kClient, kFrame).move);
}

TEST(KeepPointInWorkArea, SnapsPastTheRightEdgeToRightMinusWidthMinusFrame) {
    const WorkAreaCorrection c = KeepPointInWorkArea(1000, 100, kArea, kClient, kFrame);
    ASSERT_TRUE(c.move);
    EXPECT_EQ(c.x, 1280 - 448 - 4);
    EXPECT_EQ(c.y, 100 - 19);  // the window position is the client's minus the caption
}

TEST(KeepPointInWorkArea, SnapsPastTheLeftAndTopEdgesToThem) {
    const WorkAreaCorrection c = KeepPointInWorkArea(-30, -5, {10, 20, 1280, 984}, kClient, kFrame);
    ASSERT_TRUE(c.move);
    EXPECT_EQ(c.x, 10);
    EXPECT_EQ(c.y, 20 - 19);
}

TEST(KeepPointInWorkArea, SnapsPastTheBottomEdge) {
    const WorkAreaCorrection c = KeepPointInWorkArea(100, 900, kArea, kClient, kFrame);
    ASSERT_TRUE(c.move);
    EXPECT_EQ(c.x, 100);
    EXPECT_EQ(c.y, 984 - 138 - 4 - 19);
}

// A monitor as MonitorFromRect sees it: its whole rectangle and its work area.
struct Monitor {
    WorkArea screen;
    WorkArea work;
};

int64_t Overlap(WorkArea a, WorkArea b) {
    const int64_t width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int64_t height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// MonitorFromRect's choice among the monitors given: the one the rectangle overlaps most.
MonitorWorkAreaQuery LargestOverlap(std::vector<Monitor> monitors) {
    return [monitors](WorkArea rectangle) {
        const auto most = std::max_element(
            monitors.begin(), monitors.end(), [rectangle](const Monitor& a, const Monitor& b) {
                return Overlap(rectangle, a.screen) < Overlap(rectangle, b.screen);
            });
        return most->work;
    };
}

constexpr Monitor kPrimary = {{0, 0, 1280, 1024}, {0, 0, 1280, 984}};
constexpr Monitor kRight = {{1280, 0, 2560, 1024}, {1280, 0, 2560, 1024}};
constexpr Monitor kRightTaskbarTop = {{1280, 0, 2560, 1024}, {1280, 40, 2560, 1024}};
constexpr Monitor kLeft = {{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}};
constexpr Monitor kLeftTaskbarLeft = {{-1280, 0, 0, 1024}, {-1220, 0, 0, 1024}};

struct MonitorRow {
    const char* what;
    std::vector<Monitor> monitors;
    Point movedTo;  // client position
    bool move;
    Point expected;  // window position
};

TEST(KeepPointOnItsMonitor, ClampsToTheMonitorHoldingTheLargerPartOfTheClientArea) {
    const MonitorRow rows[] = {
        {"one monitor, past its right edge", {kPrimary}, {1000, 100}, true, {828, 81}},
        {"dragged onto the second monitor", {kPrimary, kRight}, {1600, 300}, false, {}},
        {"past the second monitor's outer edge",
         {kPrimary, kRight},
         {2300, 300},
         true,
         {2560 - 448 - 4, 281}},
        {"across the seam, mostly on the second",
         {kPrimary, kRight},
         {1100, 300},
         true,
         {1280, 281}},
        {"across the seam, mostly on the primary",
         {kPrimary, kRight},
         {1000, 300},
         true,
         {1280 - 448 - 4, 281}},
        {"on a monitor left of the primary", {kLeft, kPrimary}, {-900, 100}, false, {}},
        {"past the left monitor's outer edge", {kLeft, kPrimary}, {-1400, 100}, true, {-1280, 81}},
        {"across the seam, mostly on the left monitor",
         {kLeft, kPrimary},
         {-300, 100},
         true,
         {-448 - 4, 81}},
        {"under a taskbar at the top",
         {kPrimary, kRightTaskbarTop},
         {1600, 10},
         true,
         {1600, 40 - 19}},
        {"under a taskbar at the left",
         {kLeftTaskbarLeft, kPrimary},
         {-1250, 100},
         true,
         {-1220, 81}},
        {"past the primary's bottom, above its taskbar",
         {kLeft, kPrimary},
         {100, 900},
         true,
         {100, 984 - 138 - 4 - 19}},
    };
    for (const MonitorRow& row : rows) {
        const WorkAreaCorrection c = KeepPointOnItsMonitor(row.movedTo.x, row.movedTo.y, kClient,
                                                           kFrame, LargestOverlap(row.monitors));
        EXPECT_EQ(c.move, row.move) << row.what;
        if (!row.move) continue;
        EXPECT_EQ(c.x, row.expected.x) << row.what;
        EXPECT_EQ(c.y, row.expected.y) << row.what;
    }
}

TEST(BlendOverColor, CompositesEachByteWithSeparateFloors) {
    uint8_t pixels[] = {
        10, 20,  30,  0,    // transparent: takes the face colour exactly
        10, 20,  30,  255,  // opaque: keeps its colour
        0,  255, 100, 128,  // half: floor(V*128/255) + floor(K*127/255)
    };
    BlendOverColor(pixels, 3, 1, 255, 200, 0);
    const uint8_t expected[] = {255, 200, 0, 0, 10, 20, 30, 255, 127, 128 + 99, 50, 128};
    for (size_t i = 0; i < sizeof expected; ++i) EXPECT_EQ(pixels[i], expected[i]) << i;
}

TEST(MakeRoomForPicture, MovesTheControlRightByPictureAndMarginKeepingItsRightEdge) {
    const PictureRoom room = MakeRoomForPicture({11, 11, 580, 82}, 32, 32);
    EXPECT_EQ(room.control.x, 54);
    EXPECT_EQ(room.control.x + room.control.width, 11 + 580);
    EXPECT_EQ(room.control.y, 11);
    EXPECT_EQ(room.control.height, 82);
    EXPECT_EQ(room.pictureX, 11);
    EXPECT_EQ(room.pictureY, 36);  // centred on the control's height
}

TEST(MakeRoomForPicture, APictureAsTallAsTheControlOrTallerStartsAtItsTop) {
    EXPECT_EQ(MakeRoomForPicture({7, 9, 300, 48}, 48, 48).pictureY, 9);
    EXPECT_EQ(MakeRoomForPicture({7, 9, 300, 40}, 64, 64).pictureY, 9);
    EXPECT_EQ(MakeRoomForPicture({7, 9, 300, 49}, 48, 48).pictureY, 9);  // halving of 1 rounds down
}

}  // namespace
