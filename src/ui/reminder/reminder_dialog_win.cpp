#include "ui/reminder/reminder_dialog_win.h"

#include <new>

#include "format/format_override.h"
#include "resource.h"
#include "text/transcoder.h"
#include "ui/line_breaks.h"
#include "ui/preview_window_win.h"
#include "ui/remind_combo_win.h"
#include "ui/reminder/reminder_messages.h"
#include "ui/window_services_win.h"
#include "ui/window_text_win.h"

namespace {

// One dialog per process: its procedure reaches the object and its run state through these.
ActionReminderDialog* currentReminderDialog = nullptr;
RemindIntervalTexts remindTexts;
bool infoCollapsed = true;
bool countdownActive = false;
uint32_t countdownLeft = 0;
Point storedPosition = kCentreSentinel;
bool onceStopFlag = true;

// Stands in for the current action while there is none.
const ActionItem kNoAction;

bool UpdateCountdownText(HWND window, ActionReminderDialog* dialog) {
    HWND line = GetDlgItem(window, IDC_COUNTDOWN);
    if (line == nullptr) return false;
    try {
        const bool takeAll = dialog != nullptr && dialog->IsAutoTakeAll();
        const uint32_t n = dialog != nullptr ? dialog->GetActionCount() : 0;
        const KindCounts kinds = dialog != nullptr ? dialog->CountKinds() : KindCounts{};
        const char* ignoredLiteral = nullptr;
        const char*& literal = dialog != nullptr ? dialog->CurrentLiteral() : ignoredLiteral;
        const Utf8Text message =
            CountdownMessage(countdownLeft, takeAll, n, kinds.restarts, kinds.shutdowns, literal);
        return SetWindowUtf8Text(line, message.range());
    } catch (...) {
        return false;
    }
}

void SetInitialCaptions(HWND window, const char*& literal) {
    SetCaption(window, IDC_CANCEL_BUTTON, kCancelLiteral, literal);
    SetCaption(window, IDC_PREVIEW_BUTTON, kPreviewLiteral, literal);
    SetCaption(window, IDC_REMIND_BUTTON, kRemindAgainLiteral, literal);
    SetCaption(window, IDC_ACTION_BUTTON, kTakeActionLiteral, literal);
    SetCaption(window, IDC_TAKE_ALL_BUTTON, kTakeActionsLiteral, literal);
}

// The list starts with the intervals that end before the earliest deadline, as the first trim
// would leave it: filling all seventeen only to rebuild the list at once delayed the first
// showing by a few milliseconds under Wine.
void FillRemindListTrimmed(HWND window, ActionReminderDialog& dialog) {
    RemindState& remind = dialog.GetRemindState();
    const RemindTrim start = PlanRemindTrim(static_cast<int32_t>(kRemindIntervalCount),
                                            remind.maxRemindLeft, remind.remindIndex);
    const bool startTrimmed = start.action == RemindTrim::kRebuild;
    if (startTrimmed) remind.remindIndex = start.selection;
    FillRemindCombo(window, remindTexts, remind, dialog.CurrentLiteral(),
                    startTrimmed ? start.entryCount : kRemindIntervalCount);
}

void InitReminderDialog(HWND window, ActionReminderDialog* dialog) {
    PlaceDialogAtStart(window, storedPosition);
    const char* orphanLiteral = nullptr;
    SetInitialCaptions(window, dialog != nullptr ? dialog->CurrentLiteral() : orphanLiteral);
    if (dialog != nullptr) {
        // The request's title is shown as received.
        if (dialog->GetDialogTitle() != nullptr) {
            SetWindowRequestText(window, dialog->GetDialogTitle());
        }
        FillRemindListTrimmed(window, *dialog);
        TrimRemindCombo(window, remindTexts, dialog->GetRemindState(), dialog,
                        dialog->CurrentLiteral());
        // A failed trim has recorded its failure and destroyed the dialog.
        if (!IsWindow(window)) return;
        dialog->FillActionCombo(window);
        dialog->ShowCurrentAction(window);
        ApplyTaskbarRule(window, dialog->ShowsInTaskbar());
    }
    if (countdownActive) {
        if (!UpdateCountdownText(window, dialog)) countdownActive = false;
    } else {
        ShowControl(window, IDC_COUNTDOWN, false);
    }
    SetTimer(window, kCountdownTimerId, kCountdownTimerPeriodMs, nullptr);
    if (dialog != nullptr) {
        dialog->SetSummaryAndTakeAllCaptions(window);
        dialog->PlaceImage(window);
        dialog->ApplyInfoLayout(window, infoCollapsed);
    }
}

// A failure while the dialog is being built is recorded and ends it before it is shown.
void InitOrFail(HWND window) {
    ActionReminderDialog* dialog = currentReminderDialog;
    const RemindFailureCode code = CatchRemindFailure([&] { InitReminderDialog(window, dialog); });
    if (code == kRemindSucceeded) return;
    if (dialog != nullptr) dialog->RecordFailure(code, dialog->CurrentLiteral());
    DestroyWindow(window);
}

void ShowPreview(HWND window, ActionReminderDialog* dialog) {
    EnableControl(window, IDC_PREVIEW_BUTTON, false);
    ShowPreviewWindow(dialog->GetModuleInstance(), window, dialog->GetCurrentTitle().c_str(),
                      dialog->GetCurrentBody().c_str(), storedPosition.x, storedPosition.y,
                      dialog->GetImageWidth(), dialog->GetImageHeight(), dialog->GetImageBitmap());
    // The countdown or the stop event may have ended the dialog meanwhile.
    if (IsWindow(window)) EnableControl(window, IDC_PREVIEW_BUTTON, true);
}

void OnActionSelected(HWND window, HWND combo, ActionReminderDialog* dialog) {
    const LRESULT selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selection != CB_ERR) dialog->SelectAction(static_cast<uint32_t>(selection));
    dialog->ShowCurrentAction(window);
}

INT_PTR OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    ActionReminderDialog* dialog = currentReminderDialog;
    if (dialog == nullptr) return FALSE;
    const auto combo = reinterpret_cast<HWND>(lParam);
    switch (LOWORD(wParam)) {
        case IDC_PREVIEW_BUTTON:
            ShowPreview(window, dialog);
            return TRUE;
        case IDC_ACTION_BUTTON:
            dialog->SetActionTaken(true);
            EnableControl(window, IDC_PREVIEW_BUTTON, false);
            EnableControl(window, IDC_ACTION_BUTTON, false);
            DestroyWindow(window);
            return TRUE;
        case IDC_CANCEL_BUTTON:
            dialog->SetCancelled(true);
            DestroyWindow(window);
            return TRUE;
        case IDC_REMIND_BUTTON:
            dialog->RequestRemind();
            DestroyWindow(window);
            return TRUE;
        case IDC_TAKE_ALL_BUTTON:
            dialog->RequestTakeAll();
            DestroyWindow(window);
            return TRUE;
        case IDC_REMIND_COMBO: {
            if (HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
            const LRESULT selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
            if (selection != CB_ERR) {
                dialog->GetRemindState().remindIndex = static_cast<uint32_t>(selection);
            }
            return TRUE;
        }
        case IDC_ACTION_COMBO:
            OnActionSelected(window, combo, dialog);
            return TRUE;
        case IDC_MORE_INFO_BUTTON:
            infoCollapsed = !infoCollapsed;
            dialog->ApplyInfoLayout(window, infoCollapsed);
            return TRUE;
        default:
            return FALSE;
    }
}

void TickRemindList(HWND window, ActionReminderDialog* dialog) {
    RemindState& state = dialog->GetRemindState();
    const char*& literal = dialog->CurrentLiteral();
    switch (TickMaxRemindLeft(state)) {
        case RemindTick::kNothing:
            return;
        case RemindTick::kReachedZero:
            RunRemindStepOrFail(window, dialog, literal,
                                [&] { SwitchRemindToImmediately(window, state); });
            return;
        case RemindTick::kTrim:
            TrimRemindCombo(window, remindTexts, state, dialog, literal);
            return;
    }
}

void ActivateCountdown(HWND window, ActionReminderDialog* dialog) {
    if (dialog != nullptr) {
        if (dialog->IsAutoTakeAll()) {
            dialog->RequestTakeAll();
        } else {
            dialog->SetTakenAutomatically(true);
            dialog->RequestRemind();
        }
    }
    for (int id : {IDC_PREVIEW_BUTTON, IDC_ACTION_BUTTON, IDC_REMIND_BUTTON, IDC_REMIND_COMBO}) {
        EnableControl(window, id, false);
    }
    DestroyWindow(window);
}

void OnTimer(HWND window, WPARAM timerId) {
    if (timerId != kCountdownTimerId) return;
    ActionReminderDialog* dialog = currentReminderDialog;
    switch (NextCountdownTick(countdownActive, countdownLeft)) {
        case CountdownTick::kIgnore:
            return;
        case CountdownTick::kCountDown:
            --countdownLeft;
            if (!UpdateCountdownText(window, dialog)) countdownActive = false;
            if (dialog != nullptr) TickRemindList(window, dialog);
            return;
        case CountdownTick::kActivate:
            if (!HonourStopRequest()) ActivateCountdown(window, dialog);
            return;
    }
}

// Closing the dialog is a remind choice: the interval shown in the combo applies.
void OnCloseRequest(HWND window) {
    if (currentReminderDialog != nullptr) currentReminderDialog->RequestRemind();
    DestroyWindow(window);
}

INT_PTR OnEndSession(HWND window, WPARAM sessionEnds) {
    if (!sessionEnds) return FALSE;
    if (currentReminderDialog != nullptr) currentReminderDialog->ReportClosed();
    DestroyWindow(window);
    return TRUE;
}

void OnPaint(HWND window) {
    ActionReminderDialog* dialog = currentReminderDialog;
    if (dialog == nullptr || dialog->GetImageBitmap() == nullptr) return;
    PaintPicture(window, dialog->GetImageBitmap(), dialog->GetImageWidth(),
                 dialog->GetImageHeight(), dialog->GetPictureCorner());
}

INT_PTR CALLBACK ReminderDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_INITDIALOG:
                InitOrFail(window);
                return TRUE;
            case WM_COMMAND:
                return OnCommand(window, wParam, lParam);
            case WM_TIMER:
                OnTimer(window, wParam);
                return TRUE;
            case WM_CLOSE:
            case kCloseDialogMessage:
                OnCloseRequest(window);
                return TRUE;
            case WM_ENDSESSION:
                return OnEndSession(window, wParam);
            case WM_MOVE:
                KeepInWorkArea(window, lParam);
                return TRUE;
            case WM_PAINT:
                OnPaint(window);
                return FALSE;
            case WM_DESTROY:
                PostQuitMessage(0);
                return TRUE;
            default:
                return FALSE;
        }
    } catch (...) {
        // A caption failing after start-up (e.g. "Less Info..." on unfolding) ends the run
        // with the flags set so far.
        StashDialogException(window);
        return TRUE;
    }
}

}  // namespace

ActionReminderDialog::ActionReminderDialog(bool, bool takeAll, bool, uint32_t remindTime,
                                           uint32_t shortestPostpone, uint32_t countdownSeconds,
                                           const char* title, uint32_t width, uint32_t height,
                                           uint8_t* pixels, HINSTANCE, CRITICAL_SECTION* lock,
                                           bool* replied, bool taskbar)
    : ActionDialog(lock, replied, taskbar),
      actions(sizeof(ActionItem), firstActionSlot, firstActionSlot + sizeof firstActionSlot),
      autoSeconds(countdownSeconds),
      remind(ReminderRemindState(remindTime, shortestPostpone)),
      autoTakeAll(takeAll) {
    SetImage(pixels, width, height);
    NormalizeLineBreaks(title, dialogTitle);
    currentReminderDialog = this;
}

ActionReminderDialog::~ActionReminderDialog() {
    currentReminderDialog = nullptr;
    for (uint32_t index = actions.count(); index > 0; --index) {
        static_cast<ActionItem*>(actions.ElementAt(index - 1))->~ActionItem();
    }
}

void ActionReminderDialog::AddActionItem(const ActionItem& item) {
    void* slot = actions.AppendSlot();
    try {
        new (slot) ActionItem(item);
    } catch (...) {
        // The slot holds no action: it must not be destroyed as one.
        actions.RemoveLast();
        throw;
    }
}

const ActionItem& ActionReminderDialog::CurrentAction() const {
    if (currentAction >= actions.count()) return kNoAction;
    return *static_cast<const ActionItem*>(actions.ElementAt(currentAction));
}

bool ActionReminderDialog::CanCancel() const {
    return CurrentAction().cancelAllowed;
}

bool ActionReminderDialog::HasPreview() const {
    return CurrentAction().previewAvailable;
}

const char* ActionReminderDialog::GetDialogTitle() const {
    return dialogTitle.empty() ? nullptr : dialogTitle.c_str();
}

void ActionReminderDialog::SelectAction(uint32_t index) {
    if (index < actions.count()) currentAction = index;
}

void ActionReminderDialog::RunReminder() {
    const RemindFailureCode code = remindTexts.LocalizeRemindIntervals(currentLiteral);
    if (code != kRemindSucceeded) {
        RecordFailure(code, currentLiteral);
        return;
    }
    infoCollapsed = true;
    countdownLeft = autoSeconds;
    countdownActive = autoSeconds != 0;
    RunDialogLoop(this, IDD_REMINDER, ReminderDialogProc, onceStopFlag);
}
