#include "ui/preaction/preaction_dialog_win.h"

#include "resource.h"
#include "ui/accessible_names_win.h"
#include "ui/dpi_scaling.h"
#include "ui/keyboard_win.h"
#include "ui/layout_direction_win.h"
#include "ui/line_breaks.h"
#include "ui/preaction/preaction_rules.h"
#include "ui/preview_window_win.h"
#include "ui/remind_combo_win.h"
#include "ui/window_services_win.h"
#include "ui/window_text_win.h"

namespace {

// The preview opens this far (in pixels at 96 DPI) above the dialog's start position.
constexpr int32_t kPreviewOffsetY = 180;

// One dialog per process: its procedure reaches the object and its run state through these.
PreActionDialog* currentPreActionDialog = nullptr;
PreActionRunState runState;
Point storedPosition = kCentreSentinel;
Point pictureCorner;
RemindIntervalTexts remindTexts;

void UpdateControlVisibility(HWND window) {
    const PreActionDialog* dialog = currentPreActionDialog;
    if (dialog != nullptr) {
        ShowControl(window, IDC_PREVIEW_BUTTON, dialog->HasPreview());
        ShowControl(window, IDC_CANCEL_BUTTON, dialog->CanCancel());
        ShowControl(window, IDC_REMIND_BUTTON, runState.remindActive);
        ShowControl(window, IDC_REMIND_COMBO, runState.remindActive);
    }
    ShowControl(window, IDC_ACTION_BUTTON, true);
}

bool ReadControlRect(HWND window, int controlId, RECT& rect) {
    HWND control = GetDlgItem(window, controlId);
    return control != nullptr && GetWindowRect(control, &rect);
}

// Lets the message box take the rows that stay empty.
void StretchMessageBox(HWND window, const PreActionDialog& dialog) {
    const MessageStretch stretch =
        ChooseMessageStretch(dialog.HasPreview(), dialog.CanCancel(), runState.countdownActive);
    if (stretch == MessageStretch::kNone) return;
    RECT box;
    RECT dialogRect;
    if (!ReadControlRect(window, IDC_ACTION_MESSAGE, box) || !GetWindowRect(window, &dialogRect)) {
        return;
    }
    const int target = stretch == MessageStretch::kToCancelRow ? IDC_CANCEL_BUTTON : IDC_COUNTDOWN;
    LONG height = box.bottom - box.top;
    RECT targetRect;
    if (ReadControlRect(window, target, targetRect)) height = targetRect.bottom - box.top;
    SetWindowPos(GetDlgItem(window, IDC_ACTION_MESSAGE), nullptr, 0, 0, box.right - box.left,
                 height, SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOMOVE);
}

void ArrangeMessageArea(HWND window, const PreActionDialog& dialog) {
    HWND box = GetDlgItem(window, IDC_ACTION_MESSAGE);
    if (box == nullptr) return;
    // The request's message is shown as received.
    if (dialog.GetMessage()[0] != '\0') SetWindowRequestText(box, dialog.GetMessage());
    DescribeDialog(window, dialog.GetMessage());
    StretchMessageBox(window, dialog);
    if (dialog.GetImageBitmap() != nullptr) {
        MakeRoomForPictureBeside(window, IDC_ACTION_MESSAGE, dialog.GetImageWidth(),
                                 dialog.GetImageHeight(), pictureCorner);
    }
}

// A countdown line that cannot be shown stops the countdown; it never fails the dialog.
bool UpdateCountdownText(HWND window) {
    HWND line = GetDlgItem(window, IDC_COUNTDOWN);
    if (line == nullptr) return false;
    try {
        return SetWindowUtf8Text(line, BuildCountdownText(runState.countdownLeft).range());
    } catch (...) {
        return false;
    }
}

void ApplyWindowStyles(HWND window, const PreActionDialog& dialog) {
    ApplyTaskbarRule(window, dialog.ShowsInTaskbar());
    if (runState.countdownActive) {
        // A dialog that counts down never offers a system menu or caption buttons.
        if (dialog.ShowsInTaskbar()) RemoveSystemMenu(window);
        if (!UpdateCountdownText(window)) runState.countdownActive = false;
    }
    if (!runState.countdownActive) ShowControl(window, IDC_COUNTDOWN, false);
}

void SetDialogTexts(HWND window, PreActionDialog& dialog) {
    dialog.ComposeImageBitmap(window);
    if (dialog.GetDialogTitle() != nullptr) SetWindowRequestText(window, dialog.GetDialogTitle());
    // The request's button text is its own template, so a translation can replace it.
    SetCaption(window, IDC_ACTION_BUTTON, dialog.GetButtonText());
    ArrangeMessageArea(window, dialog);
}

void InitPreActionDialog(HWND window) {
    PlaceDialogAtStart(window, storedPosition);
    SetCaption(window, IDC_CANCEL_BUTTON, "Cancel");
    SetCaption(window, IDC_PREVIEW_BUTTON, "Preview Action...");
    SetCaption(window, IDC_REMIND_BUTTON, "Remind Again");
    SetControlLabels(window);
    // The default button takes the action: an Enter in the message must not press it.
    GuardMessageKeys(window, IDC_ACTION_MESSAGE, EnterInMessage::kIgnored);
    ApplyReadingOrder(window);
    UpdateControlVisibility(window);
    PreActionDialog* dialog = currentPreActionDialog;
    if (dialog != nullptr) SetDialogTexts(window, *dialog);
    if (dialog != nullptr) ApplyWindowStyles(window, *dialog);
    SetTimer(window, kCountdownTimerId, kCountdownTimerPeriodMs, nullptr);
    // The first trim comes with the first tick.
    if (dialog != nullptr) {
        FillRemindCombo(window, remindTexts, dialog->GetRemindState());
    }
    FocusFirstShownControl(window, {IDC_ACTION_MESSAGE, IDC_REMIND_COMBO});
}

// A failing caption ends the dialog with a recorded failure; the reply is then "CLOSED".
void InitOrRecordFailure(HWND window) {
    const LocalizationFailureCode code =
        CatchLocalizationFailure([&] { InitPreActionDialog(window); });
    if (code == kLocalizationSucceeded) return;
    if (currentPreActionDialog != nullptr) currentPreActionDialog->RecordLocalizationFailure(code);
    DestroyWindow(window);
}

void OpenPreview(HWND window) {
    EnableControl(window, IDC_PREVIEW_BUTTON, false);
    const PreActionDialog* dialog = currentPreActionDialog;
    if (dialog != nullptr) {
        ShowPreviewWindow(
            dialog->GetModuleInstance(), window, dialog->GetDialogTitle(), dialog->GetPreviewText(),
            storedPosition.x, storedPosition.y - ScaleToDpi(kPreviewOffsetY, ReadSystemDpi()),
            dialog->GetImageWidth(), dialog->GetImageHeight(), dialog->GetImageBitmap());
    }
    // The dialog may be gone by now (countdown, stop): then there is no button to enable.
    EnableControl(window, IDC_PREVIEW_BUTTON, true);
}

void TakeAction(HWND window) {
    if (currentPreActionDialog != nullptr) currentPreActionDialog->SetActionTaken(true);
    EnableControl(window, IDC_PREVIEW_BUTTON, false);
    EnableControl(window, IDC_ACTION_BUTTON, false);
    DestroyWindow(window);
}

INT_PTR OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDC_PREVIEW_BUTTON:
            OpenPreview(window);
            return TRUE;
        case IDC_ACTION_BUTTON:
            TakeAction(window);
            return TRUE;
        case IDC_CANCEL_BUTTON:
            if (currentPreActionDialog != nullptr) currentPreActionDialog->SetCancelled(true);
            DestroyWindow(window);
            return TRUE;
        case IDC_REMIND_BUTTON:
            if (currentPreActionDialog != nullptr) currentPreActionDialog->SetRemindChosen();
            DestroyWindow(window);
            return TRUE;
        case IDC_REMIND_COMBO:
            if (HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
            if (currentPreActionDialog != nullptr) {
                ChooseRemindEntry(reinterpret_cast<HWND>(lParam),
                                  currentPreActionDialog->GetRemindState());
            }
            return TRUE;
        default:
            return FALSE;  // IDOK, IDCANCEL and Escape included
    }
}

void TakeActionAutomatically(HWND window) {
    if (currentPreActionDialog != nullptr) {
        currentPreActionDialog->SetTakenAutomatically(true);
        currentPreActionDialog->SetActionTaken(true);
    }
    EnableControl(window, IDC_PREVIEW_BUTTON, false);
    EnableControl(window, IDC_ACTION_BUTTON, false);
    EnableControl(window, IDC_REMIND_BUTTON, false);
    DestroyWindow(window);
}

void TickRemindChoice(HWND window) {
    PreActionDialog* dialog = currentPreActionDialog;
    if (dialog == nullptr) return;
    RemindState& remind = dialog->GetRemindState();
    switch (TickPreActionRemind(runState, remind)) {
        case RemindStep::kNothing:
            return;
        case RemindStep::kTrim:
            TrimRemindCombo(window, remindTexts, remind, dialog);
            return;
        case RemindStep::kWithdraw:
            UpdateControlVisibility(window);
            return;
        case RemindStep::kSwitchToImmediately:
            RunRemindStepOrFail(window, dialog, [&] { SwitchRemindToImmediately(window, remind); });
            return;
    }
}

void OnTimer(HWND window, WPARAM timerId) {
    if (timerId == kCountdownTimerId) {
        switch (TickCountdown(runState)) {
            case CountdownStep::kTakeAction:
                if (!HonourStopRequest()) TakeActionAutomatically(window);
                return;
            case CountdownStep::kShowLeft:
                if (!UpdateCountdownText(window)) runState.countdownActive = false;
                break;
            case CountdownStep::kNothing:
                break;
        }
    }
    TickRemindChoice(window);
}

void Close(HWND window) {
    DestroyWindow(window);
}

constexpr ActionDialogHandlers kHandlers = {
    InitOrRecordFailure,
    OnCommand,
    OnTimer,
    Close,
    false,  // the close box, Alt+F4 and the system menu leave it open
    [] { return static_cast<ActionDialog*>(currentPreActionDialog); },
    [] { return PictureOf(currentPreActionDialog, pictureCorner); },
};

INT_PTR CALLBACK PreActionDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleActionDialogMessage(kHandlers, window, message, wParam, lParam);
}

}  // namespace

PreActionDialog::PreActionDialog(bool, bool remindFlag, bool previewFlag, bool cancelFlag,
                                 int32_t autoTime, int32_t remindTime, int32_t maxRemindTime,
                                 const char* titleText, const char* messageText,
                                 const char* previewTextIn, const char*, const char* buttonTextIn,
                                 uint32_t width, uint32_t height, uint8_t* pixels, HINSTANCE,
                                 CRITICAL_SECTION* lock, bool* replied, bool taskbar)
    : ActionDialog(lock, replied, taskbar),
      buttonText_(buttonTextIn != nullptr ? buttonTextIn : ""),
      remindOffered_(remindFlag),
      autoSeconds_(static_cast<uint32_t>(autoTime)) {
    SetImage(pixels, width, height);
    OfferButtons(cancelFlag, previewFlag);
    // Compared unsigned, as the agent's numbers are.
    const PreActionRemindStart start = PreActionRemindState(static_cast<uint32_t>(remindTime),
                                                            static_cast<uint32_t>(maxRemindTime));
    remind_ = start.state;
    runState.requestedRemindUsed = start.requestedRemindUsed;
    runState.remindActive = remindOffered_;
    NormalizeLineBreaks(messageText, message_);
    NormalizeLineBreaks(previewTextIn, previewText_);
    NormalizeLineBreaks(titleText, dialogTitle_);
    currentPreActionDialog = this;
}

PreActionDialog::~PreActionDialog() {
    currentPreActionDialog = nullptr;
}

const char* PreActionDialog::GetDialogTitle() const {
    return dialogTitle_.empty() ? nullptr : dialogTitle_.c_str();
}

int PreActionDialog::TemplateId() const {
    return IDD_PREACTION;
}

DLGPROC PreActionDialog::Procedure() const {
    return PreActionDialogProc;
}

LocalizationFailureCode PreActionDialog::PrepareRun() {
    const LocalizationFailureCode code = remindTexts.LocalizeRemindIntervals();
    if (code != kLocalizationSucceeded) return code;
    runState.countdownLeft = autoSeconds_;
    runState.countdownActive = autoSeconds_ != 0;
    return kLocalizationSucceeded;
}
