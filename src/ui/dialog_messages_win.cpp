#include "ui/dialog_messages_win.h"

#include "ui/accessible_names_win.h"
#include "ui/dialog_loop_win.h"
#include "ui/dialog_placement_win.h"

namespace {

DialogPicture PictureOf(const ActionDialog* dialog) {
    if (dialog == nullptr) return {};
    return {dialog->GetImageBitmap(), dialog->GetImageWidth(), dialog->GetImageHeight(),
            dialog->GetPictureCorner()};
}

void InitOrRecordFailure(const ActionDialogHandlers& handlers, HWND dialog) {
    const LocalizationFailureCode code = CatchLocalizationFailure([&] { handlers.init(dialog); });
    if (code == kLocalizationSucceeded) return;
    if (ActionDialog* owner = handlers.owner()) owner->RecordLocalizationFailure(code);
    DestroyWindow(dialog);
}

void Close(const ActionDialogHandlers& handlers, HWND dialog) {
    if (handlers.close != nullptr) {
        handlers.close(dialog);
    } else {
        DestroyWindow(dialog);
    }
}

INT_PTR HandleOwnCases(const ActionDialogHandlers& handlers, HWND dialog, UINT message,
                       WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitOrRecordFailure(handlers, dialog);
            return FALSE;  // the dialog has put the focus where it belongs
        case kDialogShownMessage:
            handlers.focus(dialog);
            return TRUE;
        case WM_COMMAND:
            return handlers.command(dialog, wParam, lParam);
        case WM_TIMER:
            if (handlers.timer != nullptr) handlers.timer(dialog, wParam);
            return TRUE;
        case WM_CLOSE:
            if (handlers.closeBoxCloses) Close(handlers, dialog);
            return TRUE;
        case kCloseDialogMessage:
            Close(handlers, dialog);
            return TRUE;
        default: {
            ActionDialog* owner = handlers.owner();
            return HandleSharedDialogMessage(dialog, message, wParam, lParam, owner,
                                             PictureOf(owner))
                .value_or(FALSE);
        }
    }
}

}  // namespace

std::optional<INT_PTR> HandleSharedDialogMessage(HWND dialog, UINT message, WPARAM wParam,
                                                 LPARAM lParam, ActionDialog* dialogObject,
                                                 const DialogPicture& picture) {
    switch (message) {
        case WM_ENDSESSION:
            if (!wParam) return FALSE;
            if (dialogObject != nullptr) dialogObject->ReportClosed();
            DestroyWindow(dialog);
            return TRUE;
        case WM_MOVE:
            KeepInWorkArea(dialog, lParam);
            return TRUE;
        case WM_PAINT:
            if (picture.bitmap != nullptr) PaintPicture(dialog, picture);
            return FALSE;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            // The picture is blended over the face colour, which a high-contrast scheme changes.
            if (dialogObject != nullptr) dialogObject->ComposeImageBitmap(dialog);
            InvalidateRect(dialog, nullptr, TRUE);
            return FALSE;
        case kApplyDescriptionMessage:
            ApplyDialogDescription(dialog);
            return TRUE;
        case WM_DESTROY:
            ForgetDialogDescription(dialog);
            PostQuitMessage(0);
            return TRUE;
        default:
            return std::nullopt;
    }
}

INT_PTR HandleActionDialogMessage(const ActionDialogHandlers& handlers, HWND dialog, UINT message,
                                  WPARAM wParam, LPARAM lParam) {
    try {
        return HandleOwnCases(handlers, dialog, message, wParam, lParam);
    } catch (...) {
        StashDialogException(dialog);
        return TRUE;
    }
}
