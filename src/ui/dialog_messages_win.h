#pragma once

// The procedure shape of the action dialogs (Windows only): each names its handlers for the
// messages in which the dialogs differ, and one dispatcher adds the cases they share and the rule
// that an exception never unwinds through the window system's dispatch.

#include <windows.h>

#include <optional>

#include "ui/action_dialog_win.h"
#include "ui/dialog_picture_win.h"

// The cases every dialog handles alike: the session's end (`dialogObject` tells the program's
// top, which writes "CLOSED"; a preview has none, as its owning dialog does it), a move out of the
// work area, painting the picture and composing it again for new system colours, and the end of
// the run. The procedure's answer, or nothing for any other message.
std::optional<INT_PTR> HandleSharedDialogMessage(HWND dialog, UINT message, WPARAM wParam,
                                                 LPARAM lParam, ActionDialog* dialogObject,
                                                 const DialogPicture& picture);

// What an action dialog does with the messages in which the dialogs differ.
struct ActionDialogHandlers {
    // WM_INITDIALOG. A text it cannot localize is recorded on the dialog object and ends the
    // dialog before it shows.
    void (*init)(HWND dialog);
    void (*focus)(HWND dialog);  // kDialogShownMessage: puts the focus where it starts
    INT_PTR (*command)(HWND dialog, WPARAM wParam, LPARAM lParam);  // WM_COMMAND
    void (*timer)(HWND dialog, WPARAM timerId);                     // WM_TIMER; null: none
    // The dialog object's end (kCloseDialogMessage); null: the window is destroyed.
    void (*close)(HWND dialog);
    bool closeBoxCloses;       // WM_CLOSE (close box, Alt+F4) acts as `close`, else is ignored
    ActionDialog* (*owner)();  // the dialog object, null once it is gone
};

// An action dialog's procedure: its own cases, then the shared ones.
INT_PTR HandleActionDialogMessage(const ActionDialogHandlers& handlers, HWND dialog, UINT message,
                                  WPARAM wParam, LPARAM lParam);
