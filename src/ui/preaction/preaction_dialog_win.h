#pragma once

// The dialog of an "ACTIONUI" request (Windows only): one action is about to run and the user is
// asked first. It offers the action button, and as the request asks "Cancel", "Preview Action...",
// "Remind Again" with its interval list, and a countdown that takes the action by itself.

#include <windows.h>

#include <cstdint>
#include <string>

#include "format/text_range.h"
#include "ui/action_dialog_win.h"
#include "ui/remind_intervals.h"

class PreActionDialog : public ActionDialog {
  public:
    PreActionDialog(bool autoFlag, bool remindFlag, bool previewFlag, bool cancelFlag,
                    int32_t autoTime, int32_t remindTime, int32_t maxRemindTime,
                    const char* titleText, const char* messageText, const char* previewTextIn,
                    const char* autoMessageText, const char* buttonTextIn, uint32_t imageWidth,
                    uint32_t imageHeight, uint8_t* imagePixels, HINSTANCE moduleInstance,
                    CRITICAL_SECTION* outputLock, bool* repliedFlag, bool showInTaskbar);
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
    std::string buttonText_;   // a template: a translation may replace it
    bool remindOffered_ = false;
    bool remindChosen_ = false;
    uint32_t autoSeconds_ = 0;
    RemindState remind_;  // the chosen interval and the maximum remind time left
};
