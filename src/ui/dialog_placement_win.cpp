#include "ui/dialog_placement_win.h"

#include "platform/handles_win.h"

namespace {

constexpr WorkArea kFallbackWorkArea = {0, 0, 800, 600};

ScreenSize ReadScreenSize() {
    ScreenSize screen;
    const WindowDC dc(nullptr);
    if (!dc) return screen;
    screen = {true, GetDeviceCaps(dc.get(), HORZRES), GetDeviceCaps(dc.get(), VERTRES)};
    return screen;
}

ClientSize ReadClientSize(HWND window) {
    RECT client;
    if (!GetClientRect(window, &client)) return {};
    return {true, client.right, client.bottom};
}

WorkArea ReadWorkArea() {
    RECT area;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        return {area.left, area.top, area.right, area.bottom};
    }
    const ScreenSize screen = ReadScreenSize();
    if (!screen.known) return kFallbackWorkArea;
    return {0, 0, screen.width, screen.height};
}

// The work area of the monitor MonitorFromRect names for the rectangle: the one it overlaps most,
// else the nearest. With one monitor that is SPI_GETWORKAREA's area.
WorkArea ReadMonitorWorkArea(WorkArea rectangle) {
    const RECT rect = {rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
        return ReadWorkArea();
    }
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

}  // namespace

Point ResolveStartPosition(HWND dialog, Point& stored) {
    return ResolveStartPoint(stored, ReadScreenSize(), ReadClientSize(dialog));
}

void PlaceDialogAtStart(HWND dialog, Point& stored) {
    const Point start = ResolveStartPosition(dialog, stored);
    SetWindowPos(dialog, HWND_TOPMOST, start.x, start.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void KeepInWorkArea(HWND dialog, LPARAM movedTo) {
    const int32_t x = static_cast<int16_t>(LOWORD(movedTo));
    const int32_t y = static_cast<int16_t>(HIWORD(movedTo));
    const FrameMetrics frame = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
                                GetSystemMetrics(SM_CYCAPTION)};
    const WorkAreaCorrection correction =
        KeepPointOnItsMonitor(x, y, ReadClientSize(dialog), frame, ReadMonitorWorkArea);
    if (correction.move) {
        SetWindowPos(dialog, HWND_TOPMOST, correction.x, correction.y, 0, 0, SWP_NOSIZE);
    }
}

void ApplyTaskbarRule(HWND dialog, bool showInTaskbar) {
    if (showInTaskbar) return;
    SetWindowLongPtrW(dialog, GWL_EXSTYLE,
                      GetWindowLongPtrW(dialog, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_APPWINDOW});
    RemoveSystemMenu(dialog);
}

void RemoveSystemMenu(HWND dialog) {
    SetWindowLongPtrW(dialog, GWL_STYLE,
                      GetWindowLongPtrW(dialog, GWL_STYLE) & ~LONG_PTR{WS_SYSMENU});
}
