#include "ui/dialog_picture_win.h"

#include "platform/handles_win.h"
#include "ui/dpi_scaling.h"
#include "ui/layout_direction_win.h"
#include "ui/picture_layout.h"

uint32_t ReadSystemDpi() {
    static const uint32_t dpi = [] {
        const WindowDC dc(nullptr);
        if (!dc) return kDefaultDpi;
        const int logicalPixels = GetDeviceCaps(dc.get(), LOGPIXELSX);
        return logicalPixels > 0 ? static_cast<uint32_t>(logicalPixels) : kDefaultDpi;
    }();
    return dpi;
}

namespace {

uint32_t PictureSizeForDpi(uint32_t pixels) {
    return static_cast<uint32_t>(ScaleToDpi(static_cast<int32_t>(pixels), ReadSystemDpi()));
}

void DrawPicture(HDC dc, HDC picture, uint32_t width, uint32_t height, Point corner) {
    const int shownWidth = static_cast<int>(PictureSizeForDpi(width));
    const int shownHeight = static_cast<int>(PictureSizeForDpi(height));
    if (shownWidth == static_cast<int>(width) && shownHeight == static_cast<int>(height)) {
        BitBlt(dc, corner.x, corner.y, shownWidth, shownHeight, picture, 0, 0, SRCCOPY);
        return;
    }
    // Smoothed, not blocky: the picture grows with the text around it.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, corner.x, corner.y, shownWidth, shownHeight, picture, 0, 0,
               static_cast<int>(width), static_cast<int>(height), SRCCOPY);
}

}  // namespace

bool MakeRoomForPictureBeside(HWND dialog, int controlId, uint32_t imageWidth, uint32_t imageHeight,
                              Point& pictureCorner) {
    HWND control = GetDlgItem(dialog, controlId);
    RECT controlRect;
    RECT dialogRect;
    if (control == nullptr || !GetWindowRect(control, &controlRect) ||
        !GetWindowRect(dialog, &dialogRect)) {
        return false;
    }
    // As a rectangle, so that a mirrored dialog maps the control's near edge, not its far one.
    RECT inDialog = controlRect;
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&inDialog), 2);
    const ControlBox box = {inDialog.left, inDialog.top, controlRect.right - controlRect.left,
                            controlRect.bottom - controlRect.top};
    const PictureRoom room =
        MakeRoomForPicture(box, PictureSizeForDpi(imageWidth), PictureSizeForDpi(imageHeight));
    SetWindowPos(control, nullptr, room.control.x, room.control.y, room.control.width,
                 room.control.height, SWP_NOZORDER | SWP_SHOWWINDOW);
    pictureCorner = {room.pictureX, room.pictureY};
    return true;
}

void PaintPicture(HWND dialog, const DialogPicture& picture) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    if (dc != nullptr) {
        PreserveBitmapOrientation(dc);
        MemoryDC memory(dc, picture.bitmap);
        if (memory.get() != nullptr) {
            DrawPicture(dc, memory.get(), picture.width, picture.height, picture.corner);
        }
    }
    EndPaint(dialog, &paint);
}
