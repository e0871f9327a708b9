#pragma once

// Where a dialog stands (Windows only): its start position, the work area it is kept in, and the
// taskbar rule.

#include <windows.h>

#include "ui/placement.h"

// Start position from the stored pair (centring on the screen while it holds the sentinel).
Point ResolveStartPosition(HWND dialog, Point& stored);
// WM_INITDIALOG placement: the start position, topmost, without activation.
void PlaceDialogAtStart(HWND dialog, Point& stored);
// On WM_MOVE: moves the dialog back into the work area of the monitor holding the larger part of
// its client area when it left it.
void KeepInWorkArea(HWND dialog, LPARAM movedTo);

// Without ":TASKBAR" a dialog has neither a taskbar button nor a system menu.
void ApplyTaskbarRule(HWND dialog, bool showInTaskbar);
void RemoveSystemMenu(HWND dialog);
