#include "ui/preaction/preaction_dialog_win.h"

#include "resource.h"
#include "text/line_breaks.h"
#include "ui/accessible_names_win.h"
#include "ui/control_captions_win.h"
#include "ui/dialog_loop_win.h"
#include "ui/dialog_messages_win.h"
#include "ui/dialog_picture_win.h"
#include "ui/dialog_placement_win.h"
#include "ui/dpi_scaling.h"
#include "ui/keyboard_win.h"
#include "ui/layout_direction_win.h"
#include "ui/preaction/preaction_rules.h"
#include "ui/preview_window_win.h"
#include "ui/remind_combo_win.h"
#include "ui/shared_captions.h"
#include "ui/window_text_win.h"

namespace {

// The preview opens this far (in pixels at 96 DPI) above the dialog's start position.
constexpr int32_t kPreviewOffsetY = 180;

// One dialog per process: its procedure reaches the object and its run state through these.
PreActionDialog* currentPreActionDialog = nullptr;
PreActionRunState runState;
Point storedPosition = kCentreSentinel;
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

void ArrangeMessageArea(HWND window, PreActionDialog& dialog) {
    HWND box = GetDlgItem(window, IDC_ACTION_MESSAGE);
    if (box == nullptr) return;
    // The request's message is shown as received.
    if (dialog.GetMessage()[0] != '\0') SetWindowRequestText(box, dialog.GetMessage());
    DescribeDialog(window, dialog.GetMessage());
    StretchMessageBox(window, dialog);
    if (dialog.GetImageBitmap() != nullptr) {
        MakeRoomForPictureBeside(window, IDC_ACTION_MESSAGE, dialog.GetImageWidth(),
                                 dialog.GetImageHeight(), dialog.PictureCorner());
    }
}

// A countdown line that cannot be shown stops the countdown; it never fails the dialog.
bool UpdateCountdownText(HWND window) {
    return ShowCountdownLine(window, [] { return BuildCountdownText(runState.countdownLeft); });
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
    SetCaption(window, IDC_CANCEL_BUTTON, kCancelLiteral);
    SetCaption(window, IDC_PREVIEW_BUTTON, kPreviewLiteral);
    SetCaption(window, IDC_REMIND_BUTTON, kRemindAgainLiteral);
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
}

void FocusStart(HWND window) {
    FocusFirstShownControl(window, {IDC_ACTION_MESSAGE, IDC_REMIND_COMBO});
}

void ShowPreview(HWND window) {
    const PreActionDialog* dialog = currentPreActionDialog;
    if (dialog == nullptr) return;
    const Point position = {storedPosition.x,
                            storedPosition.y - ScaleToDpi(kPreviewOffsetY, ReadSystemDpi())};
    OpenPreview(window, *dialog, dialog->GetDialogTitle(), dialog->GetPreviewText(), position);
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
            ShowPreview(window);
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

constexpr ActionDialogHandlers kHandlers = {
    InitPreActionDialog,  // a failing caption ends the dialog; the reply is then "CLOSED"
    FocusStart,
    OnCommand,
    OnTimer,
    nullptr,
    false,  // the close box, Alt+F4 and the system menu leave it open
    [] { return static_cast<ActionDialog*>(currentPreActionDialog); },
};

INT_PTR CALLBACK PreActionDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleActionDialogMessage(kHandlers, window, message, wParam, lParam);
}

}  // namespace

PreActionDialog::PreActionDialog(const PreActionSettings& settings)
    : ActionDialog(settings.common),
      buttonText_(settings.buttonText != nullptr ? settings.buttonText : ""),
      remindOffered_(settings.remindOffered),
      autoSeconds_(settings.autoSeconds) {
    OfferButtons(settings.cancelOffered, settings.previewOffered);
    const PreActionRemindStart start =
        PreActionRemindState(settings.remindTime, settings.maxRemindTime);
    remind_ = start.state;
    runState.requestedRemindUsed = start.requestedRemindUsed;
    runState.remindActive = remindOffered_;
    NormalizeLineBreaks(settings.message, message_);
    NormalizeLineBreaks(settings.previewText, previewText_);
    NormalizeLineBreaks(settings.title, dialogTitle_);
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
