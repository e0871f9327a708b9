#pragma once

// The preview window (Windows only): an action's full text in a read-only box, run in a nested
// message loop while the calling dialog's own messages (its timer included) go on. The agent's stop
// is honoured there too: it ends the calling dialog, and the preview with it.

#include <windows.h>

#include "ui/action_dialog_win.h"

// Opens the preview of the dialog object `owner`, whose window is `dialog`, at `position` and
// returns once it is gone. Caption and text are shown as given (null shows as empty); the owner's
// picture, when it has one, stands left of the text. The dialog's "Preview Action..." is disabled
// meanwhile and enabled again when the dialog is still there.
void OpenPreview(HWND dialog, const ActionDialog& owner, const char* caption, const char* text,
                 Point position);
