#include "ui/preview_window_win.h"

#include <string>

#include "resource.h"
#include "ui/accessible_names_win.h"
#include "ui/control_captions_win.h"
#include "ui/dialog_loop_win.h"
#include "ui/dialog_messages_win.h"
#include "ui/keyboard_win.h"
#include "ui/layout_direction_win.h"
#include "ui/shared_captions.h"
#include "ui/window_text_win.h"

namespace {

// What the preview's dialog procedure shows, set before the window is created.
struct PreviewState {
    std::string caption;
    std::string text;
    Point position;
    DialogPicture picture;
};

PreviewState preview;

void InitPreview(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, preview.position.x, preview.position.y, 0, 0, SWP_NOSIZE);
    SetCaptionOrEnglish(window, IDOK, kHideLiteral);
    SetControlLabels(window);
    // Enter in the text presses "Hide", which only closes the preview.
    GuardMessageKeys(window, IDC_PREVIEW_TEXT, EnterInMessage::kPassOn);
    ApplyReadingOrder(window);
    SetWindowRequestText(window, preview.caption.c_str());
    DescribeDialog(window, preview.text.c_str());
    if (HWND text = GetDlgItem(window, IDC_PREVIEW_TEXT)) {
        SetWindowRequestText(text, preview.text.c_str());
    }
    if (preview.picture.bitmap != nullptr) {
        MakeRoomForPictureBeside(window, IDC_PREVIEW_TEXT, preview.picture.width,
                                 preview.picture.height, preview.picture.corner);
    }
}

INT_PTR HandlePreviewMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitPreview(window);
            return FALSE;  // the focus is set once the preview shows
        case WM_COMMAND:
            // "Hide" and Enter; Escape (IDCANCEL) does nothing.
            if (LOWORD(wParam) != IDOK) return FALSE;
            DestroyWindow(window);
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            return TRUE;
        default:
            // The owning dialog writes the session-end reply.
            return HandleSharedDialogMessage(window, message, wParam, lParam, nullptr,
                                             preview.picture)
                .value_or(FALSE);
    }
}

// An exception never unwinds through the window system's dispatch: it is kept for the loop, which
// ends the preview.
INT_PTR CALLBACK PreviewDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandlePreviewMessage(window, message, wParam, lParam);
    } catch (...) {
        StashDialogException(window);
        return TRUE;
    }
}

void ShowPreviewWindow(HINSTANCE instance, HWND owner, const WindowIcons& icons) {
    HWND window = CreateDialogInLayoutDirection(instance, IDD_PREVIEW, owner, PreviewDialogProc);
    if (window == nullptr) return;
    ShowWindow(window, SW_SHOW);
    SetWindowIcons(window, icons);
    // After the showing: activating the preview would otherwise move the focus to "Hide", and
    // where the activation is refused the focus is set within this thread all the same.
    FocusFirstShownControl(window, {IDC_PREVIEW_TEXT, IDOK});
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDD_PREVIEW));
    try {
        while (PumpDialogMessage(window, accelerators)) {
        }
    } catch (...) {
        // Whatever failed, the preview must not outlive its loop: a later close of it would
        // post a quit that ends the owning dialog's run.
        if (IsWindow(window)) {
            DestroyWindow(window);
            DiscardPendingQuit();
        }
    }
    // The owning dialog may have been destroyed while the preview ran (its countdown, a failure
    // on a tick, a click on another of its buttons). The thread's one quit message was taken
    // here, so ask again for the owner's run loop to end.
    if (!IsWindow(owner)) PostQuitMessage(0);
}

}  // namespace

void OpenPreview(HWND dialog, const ActionDialog& owner, const char* caption, const char* text,
                 Point position) {
    preview.caption = caption != nullptr ? caption : "";
    preview.text = text != nullptr ? text : "";
    preview.position = position;
    preview.picture = {owner.GetImageBitmap(), owner.GetImageWidth(), owner.GetImageHeight(), {}};
    EnableControl(dialog, IDC_PREVIEW_BUTTON, false);
    ShowPreviewWindow(owner.GetModuleInstance(), dialog, owner.GetWindowIcons());
    // The dialog may be gone by now (its countdown, the stop): then there is no button to enable.
    if (IsWindow(dialog)) EnableControl(dialog, IDC_PREVIEW_BUTTON, true);
}
