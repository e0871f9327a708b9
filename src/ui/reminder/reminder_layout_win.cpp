// The reminder dialog's layout operations: the action selector, the lower panel for the current
// action, the summary and take-all captions, the picture and the folded or unfolded height.

#include "resource.h"
#include "ui/accessible_names_win.h"
#include "ui/control_captions_win.h"
#include "ui/dialog_picture_win.h"
#include "ui/reminder/reminder_dialog_win.h"
#include "ui/reminder/reminder_messages.h"
#include "ui/window_text_win.h"

namespace {

constexpr int kLowerPanelControls[] = {IDC_ACTION_GROUP, IDC_ACTION_COMBO, IDC_ACTION_MESSAGE,
                                       IDC_PREVIEW_BUTTON, IDC_CANCEL_BUTTON};

// The deadline never ends the dialog: a text that cannot be built leaves the line empty.
void ShowDeadline(HWND deadlineLine, Timestamp deadline) {
    try {
        if (SetWindowUtf8Text(deadlineLine, DeadlineText(deadline).range())) return;
    } catch (...) {
    }
    SetWindowRequestText(deadlineLine, "");
}

}  // namespace

void ActionReminderDialog::FillActionCombo(HWND window) {
    HWND combo = GetDlgItem(window, IDC_ACTION_COMBO);
    if (combo == nullptr) return;
    const uint32_t count = actions_.count();
    for (uint32_t i = 1; i <= count; ++i) AddComboUtf8Entry(combo, ActionLabel(i, count).range());
    if (count != 0) currentAction_ = 0;
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void ActionReminderDialog::ShowCurrentAction(HWND window) {
    const ActionItem& action = CurrentAction();
    // The request's title and message are shown as received.
    if (HWND group = GetDlgItem(window, IDC_ACTION_GROUP)) {
        SetWindowRequestText(group, action.title.c_str());
    }
    DescribeDialog(window, action.message.c_str());
    if (HWND message = GetDlgItem(window, IDC_ACTION_MESSAGE)) {
        // Only the panel layout shows the box again.
        if (action.message.empty()) {
            ShowWindow(message, SW_HIDE);
        } else {
            SetWindowRequestText(message, action.message.c_str());
        }
    }
    SetCaption(window, IDC_ACTION_BUTTON, ActionButtonLiteral(action.kind));
    if (HWND deadline = GetDlgItem(window, IDC_DEADLINE)) ShowDeadline(deadline, action.deadline);
    ShowActionButtons(window);
}

void ActionReminderDialog::ShowActionButtons(HWND window) {
    ShowControl(window, IDC_PREVIEW_BUTTON, HasPreview());
    ShowControl(window, IDC_CANCEL_BUTTON, CanCancel());
    ShowControl(window, IDC_ACTION_BUTTON, true);
}

void ActionReminderDialog::SetSummaryAndTakeAllCaptions(HWND window) {
    HWND summary = GetDlgItem(window, IDC_SUMMARY);
    if (summary == nullptr) return;
    const KindCounts kinds = CountKinds();
    if (const char* single = SingleActionSummaryLiteral(kinds)) {
        SetCaption(window, IDC_TAKE_ALL_BUTTON, TakeAllLiteral(kinds));
        SetCaption(window, IDC_SUMMARY, single);
        return;
    }
    SetWindowUtf8Text(summary, PendingActionsSummary(kinds).range());
    // "Take Actions Now" stays unless every action restarts or shuts down.
    if (ChooseTakeAllTarget(kinds) != TakeAllTarget::kTakeActions) {
        SetCaption(window, IDC_TAKE_ALL_BUTTON, TakeAllLiteral(kinds));
    }
}

void ActionReminderDialog::PlaceImage(HWND window) {
    if (GetDlgItem(window, IDC_SUMMARY) == nullptr) return;
    ComposeImageBitmap(window);
    if (GetImageBitmap() == nullptr) return;
    MakeRoomForPictureBeside(window, IDC_SUMMARY, GetImageWidth(), GetImageHeight(),
                             PictureCorner());
}

void ActionReminderDialog::ApplyInfoLayout(HWND window, bool infoCollapsed) {
    for (int id : kLowerPanelControls) ShowControl(window, id, !infoCollapsed);
    SetCaption(window, IDC_MORE_INFO_BUTTON, infoCollapsed ? kMoreInfoLiteral : kLessInfoLiteral);
    RECT windowRect;
    if (!GetWindowRect(window, &windowRect)) return;
    HWND anchor = GetDlgItem(window, infoCollapsed ? IDC_TAKE_ALL_BUTTON : IDC_ACTION_GROUP);
    if (anchor == nullptr) return;
    if (!infoCollapsed) ShowActionButtons(window);
    RECT anchorRect;
    if (!GetWindowRect(anchor, &anchorRect)) return;
    // Never activates: at start the dialog leaves the keyboard with the user's current window, and
    // activating it here would let that hand-over take its focus away.
    SetWindowPos(window, HWND_TOP, 0, 0, windowRect.right - windowRect.left,
                 InfoLayoutHeight(anchorRect.bottom, windowRect.top, ReadSystemDpi()),
                 SWP_NOMOVE | SWP_NOACTIVATE);
}
