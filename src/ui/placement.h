#pragma once

// The placement arithmetic of the dialogs, apart from the window calls that feed it.

#include <cstdint>
#include <functional>

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// Stored start position meaning "centre the dialog on the screen".
constexpr Point kCentreSentinel = {-100, -100};

struct ScreenSize {
    bool known = false;  // false when there is no screen device context
    int32_t width = 0;
    int32_t height = 0;
};

struct ClientSize {
    bool known = false;  // false when the client rectangle cannot be read
    int32_t right = 0;   // GetClientRect's right and bottom (left and top are 0)
    int32_t bottom = 0;
};

// Where a dialog starts: the stored position when it is not the sentinel, else its client area
// centred on the screen, moved back so it starts on the screen and ends inside it. Writes the
// result back into `stored`.
Point ResolveStartPoint(Point& stored, ScreenSize screen, ClientSize client);

struct WorkArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct FrameMetrics {
    int32_t frameWidth = 0;     // SM_CXFRAME
    int32_t frameHeight = 0;    // SM_CYFRAME
    int32_t captionHeight = 0;  // SM_CYCAPTION
};

struct WorkAreaCorrection {
    bool move = false;  // only when the dialog left the work area
    int32_t x = 0;      // window position to move to
    int32_t y = 0;
};

// After a move to client position (x, y): snaps a dialog that passed the work area's right or
// bottom edge back inside, and one that passed its left or top edge to that edge.
WorkAreaCorrection KeepPointInWorkArea(int32_t x, int32_t y, WorkArea area, ClientSize client,
                                       FrameMetrics frame);

// The work area of the monitor holding the larger part of a rectangle on the virtual screen (the
// nearest monitor when it lies on none).
using MonitorWorkAreaQuery = std::function<WorkArea(WorkArea rectangle)>;

// KeepPointInWorkArea within the work area of the monitor that holds the larger part of the
// client rectangle at (x, y), so a dialog may be moved to any monitor and stays whole on one.
WorkAreaCorrection KeepPointOnItsMonitor(int32_t x, int32_t y, ClientSize client,
                                         FrameMetrics frame,
                                         const MonitorWorkAreaQuery& workAreaOf);
