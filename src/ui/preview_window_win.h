#pragma once

// The preview window (Windows only): an action's full text in a read-only box, run in a nested
// message loop while the calling dialog's own messages (its timer included) go on. The agent's stop
// is honoured there too: it ends the calling dialog, and the preview with it.

#include <windows.h>

#include <cstdint>

// Shows the preview owned by `owner` at (x, y) and returns once it is gone. Caption and text are
// shown as given (null shows as empty); the picture, when given, stands left of the text.
void ShowPreviewWindow(HINSTANCE instance, HWND owner, const char* caption, const char* text,
                       int32_t x, int32_t y, uint32_t pictureWidth, uint32_t pictureHeight,
                       HBITMAP pictureBitmap);
