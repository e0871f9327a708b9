#pragma once

// Window services shared by the action dialogs (Windows only): the hidden owner window, the
// modeless run loop, placement, the picture beside a message, and the rule that an exception never
// unwinds through the window system's dispatch.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "format/template.h"
#include "ui/action_dialog_win.h"
#include "ui/placement.h"

constexpr char kHiddenWindowClass[] = "ZemClientHiddenTopLevelWindowClass";
constexpr char kHiddenWindowTitle[] = "MarlixZemClientHiddenWindow";

// The never-shown top-level window that owns the dialogs.
HWND CreateHiddenOwnerWindow(const char* title, bool showInTaskbar);

// Creates the dialog modeless from `resourceId`, shows it topmost without taking the keyboard
// from the user's current window, and runs its messages until it is destroyed. Polls the stop
// event on every pass (destroying the dialog once when it fires); any exception ends the run.
void RunDialogLoop(ActionDialog* dialog, int resourceId, DLGPROC procedure, bool& onceStopFlag);

// True once the agent has signalled its stop while a dialog runs; the first call that sees it
// destroys that dialog (and a preview it owns). Countdowns ask before they act, so a stop that
// arrived since the last poll always wins over the action.
bool HonourStopRequest();

// One pass of a dialog loop: honours the stop, then takes one message from the thread's queue and
// hands it to `dialog` or dispatches it; with none queued, waits until one arrives or at most
// 100 ms. False once WM_QUIT arrives. Rethrows an exception that a dialog procedure caught at its
// edge while the message was dispatched.
bool PumpDialogMessage(HWND dialog, HACCEL accelerators);

// Called from a dialog procedure's catch-all: keeps the exception for the loop (it must not
// unwind through the dispatch) and destroys the window, which ends the run.
void StashDialogException(HWND dialog);

// Start position from the stored pair (centring on the screen while it holds the sentinel).
Point ResolveStartPosition(HWND dialog, Point& stored);
// On WM_MOVE: moves the dialog back into the work area when it left it.
void KeepInWorkArea(HWND dialog, LPARAM movedTo);

// WM_INITDIALOG placement: the start position, topmost, without activation.
void PlaceDialogAtStart(HWND dialog, Point& stored);

// Without ":TASKBAR" a dialog has neither a taskbar button nor a system menu.
void ApplyTaskbarRule(HWND dialog, bool showInTaskbar);
void RemoveSystemMenu(HWND dialog);

// The DPI the dialogs are drawn at: the system's, as the process is system DPI aware.
uint32_t ReadSystemDpi();

// The picture is shown at its size in pixels at 96 DPI, and proportionally larger above.
// Moves control `controlId` right to make room for the picture; returns false (nothing moved)
// when a rectangle cannot be read. `pictureCorner` receives where to paint it.
bool MakeRoomForPictureBeside(HWND dialog, int controlId, uint32_t imageWidth, uint32_t imageHeight,
                              Point& pictureCorner);

// WM_PAINT of a dialog with a picture: the bitmap of width by height pixels at the corner, at its
// size for the DPI.
void PaintPicture(HWND dialog, HBITMAP bitmap, uint32_t width, uint32_t height, Point corner);

// Marks `literal` as the template being localized, localizes it without arguments and sets it
// as the text of control `controlId` (skipped when the control is missing).
void SetCaption(HWND dialog, int controlId, const char* literal);

// Like SetCaption, but a caption that cannot be localized or converted shows the English literal
// instead of failing the dialog.
void SetCaptionOrEnglish(HWND dialog, int controlId, const char* literal);

// The selected entry of a combo box; false when none is selected.
bool ReadComboSelection(HWND combo, uint32_t& selection);

// A picture a dialog paints beside its text: no bitmap, nothing to paint.
struct DialogPicture {
    HBITMAP bitmap = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    Point corner;
};
DialogPicture PictureOf(const ActionDialog* dialog, Point corner);

// The cases every dialog handles alike: the session's end (`dialogObject` writes "CLOSED"; a
// preview has none, as its owning dialog writes it), a move out of the work area, painting the
// picture and composing it again for new system colours, and the end of the run. The procedure's
// answer, or nothing for any other message.
std::optional<INT_PTR> HandleSharedDialogMessage(HWND dialog, UINT message, WPARAM wParam,
                                                 LPARAM lParam, ActionDialog* dialogObject,
                                                 const DialogPicture& picture);

// What an action dialog does with the messages in which the dialogs differ.
struct ActionDialogHandlers {
    void (*init)(HWND dialog);  // WM_INITDIALOG; sets the focus itself
    INT_PTR (*command)(HWND dialog, WPARAM wParam, LPARAM lParam);  // WM_COMMAND
    void (*timer)(HWND dialog, WPARAM timerId);                     // WM_TIMER; null: none
    void (*close)(HWND dialog);  // the dialog object's end (kCloseDialogMessage)
    bool closeBoxCloses;         // WM_CLOSE (close box, Alt+F4) acts as `close`, else is ignored
    ActionDialog* (*owner)();    // the dialog object, null once it is gone
    DialogPicture (*picture)();
};

// An action dialog's procedure: its own cases, then the shared ones. An exception never unwinds
// through the window system's dispatch: it is stashed for the loop and the window destroyed.
INT_PTR HandleActionDialogMessage(const ActionDialogHandlers& handlers, HWND dialog, UINT message,
                                  WPARAM wParam, LPARAM lParam);

void ShowControl(HWND dialog, int controlId, bool visible);
void EnableControl(HWND dialog, int controlId, bool enabled);
