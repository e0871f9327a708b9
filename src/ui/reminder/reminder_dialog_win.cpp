#include "ui/reminder/reminder_dialog_win.h"

#include "resource.h"
#include "text/line_breaks.h"
#include "ui/accessible_names_win.h"
#include "ui/control_captions_win.h"
#include "ui/dialog_loop_win.h"
#include "ui/dialog_messages_win.h"
#include "ui/dialog_placement_win.h"
#include "ui/keyboard_win.h"
#include "ui/layout_direction_win.h"
#include "ui/preview_window_win.h"
#include "ui/remind_combo_win.h"
#include "ui/reminder/reminder_messages.h"
#include "ui/window_text_win.h"

namespace {

// One dialog per process: its procedure reaches the object and its run state through these.
ActionReminderDialog* currentReminderDialog = nullptr;
RemindIntervalTexts remindTexts;
bool infoCollapsed = true;
bool countdownActive = false;
uint32_t countdownLeft = 0;
Point storedPosition = kCentreSentinel;

// Stands in for the current action while there is none.
const ActionItem kNoAction;

bool UpdateCountdownText(HWND window, const ActionReminderDialog* dialog) {
    return ShowCountdownLine(window, [dialog] {
        const bool takeAll = dialog != nullptr && dialog->IsAutoTakeAll();
        const KindCounts kinds = dialog != nullptr ? dialog->CountKinds() : KindCounts{};
        return CountdownMessage(countdownLeft, takeAll, kinds);
    });
}

void SetInitialCaptions(HWND window) {
    SetCaption(window, IDC_CANCEL_BUTTON, kCancelLiteral);
    SetCaption(window, IDC_PREVIEW_BUTTON, kPreviewLiteral);
    SetCaption(window, IDC_REMIND_BUTTON, kRemindAgainLiteral);
    SetCaption(window, IDC_ACTION_BUTTON, kTakeActionLiteral);
    SetCaption(window, IDC_TAKE_ALL_BUTTON, kTakeActionsLiteral);
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
    FillRemindCombo(window, remindTexts, remind,
                    startTrimmed ? start.entryCount : kRemindIntervalCount);
}

void InitReminderDialog(HWND window, ActionReminderDialog* dialog) {
    PlaceDialogAtStart(window, storedPosition);
    SetInitialCaptions(window);
    SetControlLabels(window);
    GuardMessageKeys(window, IDC_ACTION_MESSAGE, EnterInMessage::kIgnored);
    ApplyReadingOrder(window);
    if (dialog != nullptr) {
        // The request's title is shown as received.
        if (dialog->GetDialogTitle() != nullptr) {
            SetWindowRequestText(window, dialog->GetDialogTitle());
        }
        FillRemindListTrimmed(window, *dialog);
        TrimRemindCombo(window, remindTexts, dialog->GetRemindState(), dialog);
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

// Folded, the message is hidden: the remind list chooses without acting, and so does
// "More Info...".
void FocusStart(HWND window) {
    FocusFirstShownControl(window, {IDC_ACTION_MESSAGE, IDC_REMIND_COMBO, IDC_MORE_INFO_BUTTON});
}

void ShowPreview(HWND window, const ActionReminderDialog& dialog) {
    OpenPreview(window, dialog, dialog.GetCurrentTitle().c_str(), dialog.GetCurrentBody().c_str(),
                storedPosition);
}

void OnActionSelected(HWND window, HWND combo, ActionReminderDialog* dialog) {
    uint32_t selection = 0;
    if (ReadComboSelection(combo, selection)) dialog->SelectAction(selection);
    dialog->ShowCurrentAction(window);
}

INT_PTR OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    ActionReminderDialog* dialog = currentReminderDialog;
    if (dialog == nullptr) return FALSE;
    const auto combo = reinterpret_cast<HWND>(lParam);
    switch (LOWORD(wParam)) {
        case IDC_PREVIEW_BUTTON:
            ShowPreview(window, *dialog);
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
        case IDC_REMIND_COMBO:
            if (HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
            ChooseRemindEntry(combo, dialog->GetRemindState());
            return TRUE;
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
    switch (TickMaxRemindLeft(state)) {
        case RemindTick::kNothing:
            return;
        case RemindTick::kReachedZero:
            RunRemindStepOrFail(window, dialog, [&] { SwitchRemindToImmediately(window, state); });
            return;
        case RemindTick::kTrim:
            TrimRemindCombo(window, remindTexts, state, dialog);
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

// A caption failing after start-up (e.g. "Less Info..." on unfolding) ends the run with the
// flags set so far.
constexpr ActionDialogHandlers kHandlers = {
    [](HWND window) { InitReminderDialog(window, currentReminderDialog); },
    FocusStart,
    OnCommand,
    OnTimer,
    OnCloseRequest,
    true,  // closing is a remind choice too
    [] { return static_cast<ActionDialog*>(currentReminderDialog); },
};

INT_PTR CALLBACK ReminderDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleActionDialogMessage(kHandlers, window, message, wParam, lParam);
}

}  // namespace

ActionReminderDialog::ActionReminderDialog(const ReminderSettings& settings)
    : ActionDialog(settings.common),
      autoSeconds_(settings.autoSeconds),
      remind_(ReminderRemindState(settings.remindTime, settings.shortestPostpone)),
      autoTakeAll_(settings.autoTakeAll) {
    NormalizeLineBreaks(settings.title, dialogTitle_);
    currentReminderDialog = this;
}

ActionReminderDialog::~ActionReminderDialog() {
    currentReminderDialog = nullptr;
}

void ActionReminderDialog::AddActionItem(const ActionItem& item) {
    actions_.Emplace(item);
}

const ActionItem& ActionReminderDialog::CurrentAction() const {
    if (currentAction_ >= actions_.count()) return kNoAction;
    return actions_.at(currentAction_);
}

bool ActionReminderDialog::CanCancel() const {
    return CurrentAction().cancelAllowed;
}

bool ActionReminderDialog::HasPreview() const {
    return CurrentAction().previewAvailable;
}

const char* ActionReminderDialog::GetDialogTitle() const {
    return dialogTitle_.empty() ? nullptr : dialogTitle_.c_str();
}

void ActionReminderDialog::SelectAction(uint32_t index) {
    if (index < actions_.count()) currentAction_ = index;
}

int ActionReminderDialog::TemplateId() const {
    return IDD_REMINDER;
}

DLGPROC ActionReminderDialog::Procedure() const {
    return ReminderDialogProc;
}

LocalizationFailureCode ActionReminderDialog::PrepareRun() {
    const LocalizationFailureCode code = remindTexts.LocalizeRemindIntervals();
    if (code != kLocalizationSucceeded) return code;
    infoCollapsed = true;
    countdownLeft = autoSeconds_;
    countdownActive = autoSeconds_ != 0;
    return kLocalizationSucceeded;
}
