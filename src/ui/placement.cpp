#include "ui/placement.h"

namespace {
constexpr int32_t kFallbackCentre = 100;
constexpr int32_t kFallbackHalfSize = 100;
constexpr int32_t kFallbackWidth = 300;
constexpr int32_t kFallbackHeight = 200;
}  // namespace

Point ResolveStartPoint(Point& stored, ScreenSize screen, ClientSize client) {
    if (stored.x != kCentreSentinel.x || stored.y != kCentreSentinel.y) return stored;

    const Point centre = screen.known ? Point{screen.width / 2, screen.height / 2}
                                      : Point{kFallbackCentre, kFallbackCentre};
    Point start;
    int32_t width = kFallbackWidth;
    int32_t height = kFallbackHeight;
    if (client.known) {
        start = {centre.x - client.right / 2, centre.y - client.bottom / 2};
        width = client.right;
        height = client.bottom;
    } else {
        start = {centre.x - kFallbackHalfSize, centre.y - kFallbackHalfSize};
    }
    if (start.x < 0) start.x = 0;
    if (start.y < 0) start.y = 0;
    // The right and bottom clamps come last, so a dialog larger than the screen starts off it.
    if (screen.known && start.x + width > screen.width) start.x = screen.width - width;
    if (screen.known && start.y + height > screen.height) start.y = screen.height - height;
    stored = start;
    return start;
}

WorkAreaCorrection KeepPointInWorkArea(int32_t x, int32_t y, WorkArea area, ClientSize client,
                                       FrameMetrics frame) {
    int32_t newX = x;
    if (x > area.right - client.right) newX = area.right - client.right - frame.frameWidth;
    if (newX < area.left) newX = area.left;
    int32_t newY = y;
    if (y > area.bottom - client.bottom) newY = area.bottom - client.bottom - frame.frameHeight;
    if (newY < area.top) newY = area.top;

    WorkAreaCorrection correction;
    if (newX != x || newY != y) {
        correction.move = true;
        correction.x = newX;
        correction.y = newY - frame.captionHeight;
    }
    return correction;
}

WorkAreaCorrection KeepPointOnItsMonitor(int32_t x, int32_t y, ClientSize client,
                                         FrameMetrics frame,
                                         const MonitorWorkAreaQuery& workAreaOf) {
    const WorkArea clientRectangle = {x, y, x + client.right, y + client.bottom};
    return KeepPointInWorkArea(x, y, workAreaOf(clientRectangle), client, frame);
}
