#pragma once

// The picture beside a dialog's text (Windows only): room made for it, painted at its size for the
// DPI. It is shown at its size in pixels at 96 DPI, and proportionally larger above.

#include <windows.h>

#include <cstdint>

#include "ui/placement.h"

// The DPI the dialogs are drawn at: the system's, as the process is system DPI aware.
uint32_t ReadSystemDpi();

// Moves control `controlId` right to make room for the picture; returns false (nothing moved)
// when a rectangle cannot be read. `pictureCorner` receives where to paint it.
bool MakeRoomForPictureBeside(HWND dialog, int controlId, uint32_t imageWidth, uint32_t imageHeight,
                              Point& pictureCorner);

// A picture a dialog paints beside its text: no bitmap, nothing to paint.
struct DialogPicture {
    HBITMAP bitmap = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    Point corner;
};

// WM_PAINT of a dialog with a picture: the bitmap at its corner, at its size for the DPI, the way
// it was drawn even in a mirrored dialog.
void PaintPicture(HWND dialog, const DialogPicture& picture);
