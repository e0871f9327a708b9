#pragma once

// Right-to-left layout (Windows only), chosen by the translation (format/reading_direction.h).

#include <windows.h>

// Called before the first dialog is made: decides, once for the process, whether the dialogs are
// laid out mirrored.
void ChooseLayoutDirection();

// CreateDialogParamW of the dialog template `resourceId`, mirrored (its controls with it) when the
// chosen direction is right to left. Null when the template is missing or creation fails.
HWND CreateDialogInLayoutDirection(HINSTANCE instance, int resourceId, HWND owner,
                                   DLGPROC procedure);

// In a mirrored dialog the boxes and statics read right to left too; otherwise nothing changes.
void ApplyReadingOrder(HWND dialog);

// A device context of a mirrored window would flip a bitmap drawn into it: keeps the picture the
// way it was drawn.
void PreserveBitmapOrientation(HDC dc);
