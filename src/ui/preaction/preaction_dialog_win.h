#pragma once

// The dialog of an "ACTIONUI" request (Windows only): one action is about to run and the user is
// asked first. It offers the action button, and as the request asks "Cancel", "Preview Action...",
// "Remind Again" with its interval list, and a countdown that takes the action by itself.

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/action_dialog_win.h"
#include "ui/remind_intervals.h"

// What the request asks of the dialog.
struct PreActionSettings {
    bool remindOffered = false;   // "Remind Again" with its interval list
    bool previewOffered = false;  // "Preview Action..."
    bool cancelOffered = false;   // "Cancel"
    uint32_t autoSeconds = 0;     // the countdown that takes the action; 0: none
    uint32_t remindTime = 0;      // the interval asked for first
    uint32_t maxRemindTime = 0;   // the latest a reminder may come
    const char* title = nullptr;
    const char* message = nullptr;
    const char* previewText = nullptr;
    const char* buttonText = nullptr;  // a template: a translation may replace it
    ActionDialogSettings common;
};

class PreActionDialog : public ActionDialog {
  public:
    explicit PreActionDialog(const PreActionSettings& settings);
    ~PreActionDialog() override;

    bool IsRemindChosen() const { return remindChosen_; }
    void SetRemindChosen() { remindChosen_ = true; }
    uint32_t GetRemindSeconds() const { return remind_.GetRemindSeconds(); }
    RemindState& GetRemindState() { return remind_; }
    uint32_t GetAutoSeconds() const { return autoSeconds_; }

    // Null when the request's title is empty, so the caption is left alone.
    const char* GetDialogTitle() const;
    const char* GetMessage() const { return message_.c_str(); }
    const char* GetButtonText() const { return buttonText_.c_str(); }
    const char* GetPreviewText() const { return previewText_.c_str(); }

  private:
    int TemplateId() const override;
    DLGPROC Procedure() const override;
    // Localizes the remind list and starts the countdown.
    LocalizationFailureCode PrepareRun() override;

    std::string message_;
    std::string previewText_;
    std::string dialogTitle_;
    std::string buttonText_;  // a template: a translation may replace it
    bool remindOffered_ = false;
    bool remindChosen_ = false;
    uint32_t autoSeconds_ = 0;
    RemindState remind_;  // the chosen interval and the maximum remind time left
};
