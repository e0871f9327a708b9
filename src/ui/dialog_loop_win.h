#pragma once

// The modeless run of a dialog (Windows only): the hidden owner window, the message loop with its
// stop handling, and the rule that an exception never unwinds through the window system's
// dispatch.

#include <windows.h>

#include "platform/stop_event_win.h"
#include "ui/window_icons_win.h"

constexpr wchar_t kHiddenWindowClass[] = L"ZemClientHiddenTopLevelWindowClass";
constexpr wchar_t kHiddenWindowTitle[] = L"MarlixZemClientHiddenWindow";

// Sent to a dialog once it shows; it then puts the keyboard focus where it starts. Setting the
// focus activates the window, which under Wine costs about 10 ms that need not delay the showing.
constexpr UINT kDialogShownMessage = WM_USER + 111;

// The never-shown top-level window that owns the dialogs.
HWND CreateHiddenOwnerWindow(const wchar_t* title, bool showInTaskbar);

// What a run needs of its dialog.
struct DialogRunSettings {
    HINSTANCE instance = nullptr;
    int templateId = 0;
    DLGPROC procedure = nullptr;
    bool showInTaskbar = false;
    WindowIcons* icons = nullptr;  // a size left empty is loaded from the application's icon
    StopEventWatch* stopEvent = nullptr;
    bool* onceStopFlag = nullptr;  // cleared by the first stop seen, which ends the run once
    HWND* window = nullptr;        // receives the dialog window once it is made
};

// Creates the dialog modeless, shows it topmost without taking the keyboard from the user's
// current window, and runs its messages until it is destroyed. The stop event ends the run (it is
// waited on once open, and polled on every pass); any exception ends the run too.
void RunDialogLoop(const DialogRunSettings& run);

// True once the agent has signalled its stop while a dialog runs; the first call that sees it
// destroys that dialog (and a preview it owns). Countdowns ask before they act, so a stop that
// arrived since the last poll always wins over the action.
bool HonourStopRequest();

// One pass of a dialog loop: honours the stop, then takes one message from the thread's queue and
// hands it to `dialog` or dispatches it; with none queued, waits until one arrives or the stop is
// signalled (at most 100 ms while the event cannot be opened). False once WM_QUIT arrives or
// `dialog` is gone; a quit still pending is then taken. Rethrows an exception that a dialog
// procedure caught at its edge while the message was dispatched.
bool PumpDialogMessage(HWND dialog, HACCEL accelerators);

// Takes back a quit request that a destroyed window left in the queue.
void DiscardPendingQuit();

// Called from a dialog procedure's catch-all: keeps the exception for the loop (it must not
// unwind through the dispatch) and destroys the window, which ends the run.
void StashDialogException(HWND dialog);
