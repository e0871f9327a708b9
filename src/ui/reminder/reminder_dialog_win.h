#pragma once

// The dialog of a "REMIND" request (Windows only): a summary of the pending actions, "Remind
// Again" with its interval list, a button that takes every action, an optional countdown, and a
// lower panel that unfolds to take, cancel or preview one action at a time.

#include <windows.h>

#include <cstdint>
#include <string>

#include "format/local_time.h"
#include "io/segmented_list.h"
#include "protocol/action_item.h"
#include "ui/action_dialog_win.h"
#include "ui/remind_intervals.h"
#include "ui/reminder/reminder_choices.h"

// What the request asks of the dialog; its actions are added one by one.
struct ReminderSettings {
    bool autoTakeAll = false;       // the countdown takes every action, instead of reminding
    uint32_t autoSeconds = 0;       // the countdown; 0: none
    uint32_t remindTime = 0;        // the interval asked for first
    uint32_t shortestPostpone = 0;  // the earliest deadline: no reminder may come later
    const char* title = nullptr;    // empty: the template's "Reminder" stays
    ActionDialogSettings common;
};

class ActionReminderDialog : public ActionDialog {
  public:
    explicit ActionReminderDialog(const ReminderSettings& settings);
    ~ActionReminderDialog() override;

    // Keeps a copy of `item`; called once per action, in request order.
    void AddActionItem(const ActionItem& item);

    bool CanCancel() const override;
    bool HasPreview() const override;

    bool IsRemindRequested() const { return remindRequested_; }
    void RequestRemind() { remindRequested_ = true; }
    bool IsTakeAllRequested() const { return takeAllRequested_; }
    void RequestTakeAll() { takeAllRequested_ = true; }
    bool IsAutoTakeAll() const { return autoTakeAll_; }
    uint32_t GetAutoSeconds() const { return autoSeconds_; }
    uint32_t GetRemindSeconds() const { return remind_.GetRemindSeconds(); }
    RemindState& GetRemindState() { return remind_; }

    // The request's title, or null when it is empty (the template's "Reminder" stays).
    const char* GetDialogTitle() const;
    uint32_t GetActionCount() const { return actions_.count(); }
    uint32_t GetCurrentIndex() const { return currentAction_; }
    // Makes action `index` current; an index beyond the actions is ignored.
    void SelectAction(uint32_t index);
    int32_t GetCurrentActionId() const { return CurrentAction().id; }
    const std::string& GetCurrentTitle() const { return CurrentAction().title; }
    const std::string& GetCurrentBody() const { return CurrentAction().body; }
    Timestamp GetCurrentDeadline() const { return CurrentAction().deadline; }
    KindCounts CountKinds() const { return ::CountKinds(actions_); }

    // Layout operations on the dialog window; a missing control skips the step that needs it.
    void FillActionCombo(HWND window);
    void ShowCurrentAction(HWND window);
    void ShowActionButtons(HWND window);
    void SetSummaryAndTakeAllCaptions(HWND window);
    void PlaceImage(HWND window);
    void ApplyInfoLayout(HWND window, bool infoCollapsed);

  private:
    int TemplateId() const override;
    DLGPROC Procedure() const override;
    // Localizes the remind list, folds the lower panel and starts the countdown.
    LocalizationFailureCode PrepareRun() override;

    const ActionItem& CurrentAction() const;

    // A reminder about a single action allocates nothing for it.
    SegmentedList<ActionItem> actions_;
    uint32_t currentAction_ = 0;
    uint32_t autoSeconds_ = 0;
    bool remindRequested_ = false;
    bool takeAllRequested_ = false;
    RemindState remind_;
    bool autoTakeAll_ = false;
    std::string dialogTitle_;
};
