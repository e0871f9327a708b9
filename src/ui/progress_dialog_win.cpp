#include "ui/progress_dialog_win.h"

#include "resource.h"
#include "text/line_breaks.h"
#include "ui/accessible_names_win.h"
#include "ui/control_captions_win.h"
#include "ui/dialog_messages_win.h"
#include "ui/dialog_placement_win.h"
#include "ui/keyboard_win.h"
#include "ui/layout_direction_win.h"
#include "ui/shared_captions.h"
#include "ui/window_text_win.h"

namespace {

// One dialog per process: its procedure reaches the object and its run state through these.
ActionProgressDialog* currentProgressDialog = nullptr;
Point storedPosition = kCentreSentinel;

void ShowProgressTexts(HWND window) {
    ActionProgressDialog* dialog = currentProgressDialog;
    if (dialog == nullptr) return;
    // The request's texts are shown as received.
    SetWindowRequestText(window, dialog->GetTitle().c_str());
    DescribeDialog(window, dialog->GetMessage().c_str());
    HWND message = GetDlgItem(window, IDC_PROGRESS_MESSAGE);
    if (message != nullptr && !dialog->GetMessage().empty()) {
        SetWindowRequestText(message, dialog->GetMessage().c_str());
    } else {
        ShowControl(window, IDC_PROGRESS_MESSAGE, false);
    }
    ApplyTaskbarRule(window, dialog->ShowsInTaskbar());
    dialog->ComposeImageBitmap(window);
    if (dialog->GetImageBitmap() != nullptr) {
        MakeRoomForPictureBeside(window, IDC_PROGRESS_MESSAGE, dialog->GetImageWidth(),
                                 dialog->GetImageHeight(), dialog->PictureCorner());
    }
}

void InitProgressDialog(HWND window) {
    PlaceDialogAtStart(window, storedPosition);
    SetCaptionOrEnglish(window, IDC_HIDE_BUTTON, kHideLiteral);
    SetControlLabels(window);
    GuardMessageKeys(window, IDC_PROGRESS_MESSAGE, EnterInMessage::kIgnored);
    ApplyReadingOrder(window);
    ShowProgressTexts(window);
}

void FocusStart(HWND window) {
    FocusFirstShownControl(window, {IDC_PROGRESS_MESSAGE, IDC_HIDE_BUTTON});
}

INT_PTR OnCommand(HWND window, WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) != IDC_HIDE_BUTTON) return FALSE;
    DestroyWindow(window);
    return TRUE;
}

constexpr ActionDialogHandlers kHandlers = {
    InitProgressDialog,
    FocusStart,
    OnCommand,
    nullptr,  // nothing ticks
    nullptr,
    true,
    [] { return static_cast<ActionDialog*>(currentProgressDialog); },
};

INT_PTR CALLBACK ProgressDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleActionDialogMessage(kHandlers, window, message, wParam, lParam);
}

}  // namespace

ActionProgressDialog::ActionProgressDialog(const ProgressDialogSettings& settings)
    : ActionDialog(settings.common) {
    NormalizeLineBreaks(settings.title, title_);
    NormalizeLineBreaks(settings.message, message_);
    currentProgressDialog = this;
}

ActionProgressDialog::~ActionProgressDialog() {
    currentProgressDialog = nullptr;
}

int ActionProgressDialog::TemplateId() const {
    return IDD_PROGRESS;
}

DLGPROC ActionProgressDialog::Procedure() const {
    return ProgressDialogProc;
}
