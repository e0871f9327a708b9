#include "ui/progress_dialog_win.h"

#include "resource.h"
#include "ui/accessible_names_win.h"
#include "ui/keyboard_win.h"
#include "ui/layout_direction_win.h"
#include "ui/line_breaks.h"
#include "ui/window_services_win.h"
#include "ui/window_text_win.h"

namespace {

// One dialog per process: its procedure reaches the object and its run state through these.
ActionProgressDialog* currentProgressDialog = nullptr;
Point storedPosition = kCentreSentinel;
Point pictureCorner;

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
                                 dialog->GetImageHeight(), pictureCorner);
    }
}

void InitProgressDialog(HWND window) {
    PlaceDialogAtStart(window, storedPosition);
    SetCaptionOrEnglish(window, IDC_HIDE_BUTTON, "Hide");
    SetControlLabels(window);
    GuardMessageKeys(window, IDC_PROGRESS_MESSAGE, EnterInMessage::kIgnored);
    ApplyReadingOrder(window);
    ShowProgressTexts(window);
    FocusFirstShownControl(window, {IDC_PROGRESS_MESSAGE, IDC_HIDE_BUTTON});
}

INT_PTR OnCommand(HWND window, WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) != IDC_HIDE_BUTTON) return FALSE;
    DestroyWindow(window);
    return TRUE;
}

void Close(HWND window) {
    DestroyWindow(window);
}

constexpr ActionDialogHandlers kHandlers = {
    InitProgressDialog,
    OnCommand,
    nullptr,  // nothing ticks
    Close,
    true,
    [] { return static_cast<ActionDialog*>(currentProgressDialog); },
    [] { return PictureOf(currentProgressDialog, pictureCorner); },
};

INT_PTR CALLBACK ProgressDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleActionDialogMessage(kHandlers, window, message, wParam, lParam);
}

}  // namespace

ActionProgressDialog::ActionProgressDialog(const char* titleText, const char* messageText,
                                           uint32_t width, uint32_t height, uint8_t* pixels,
                                           HINSTANCE, CRITICAL_SECTION* lock, bool* replied,
                                           bool taskbar)
    : ActionDialog(lock, replied, taskbar) {
    SetImage(pixels, width, height);
    NormalizeLineBreaks(titleText, title_);
    NormalizeLineBreaks(messageText, message_);
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
