#pragma once

// The dialog of a "PROGRESS" request (Windows only): a title, an optional picture, a read-only
// message and "Hide". It asks nothing; the reply is "OK" however it ends.

#include <windows.h>

#include <string>

#include "ui/action_dialog_win.h"

struct ProgressDialogSettings {
    const char* title = nullptr;    // null shows as empty
    const char* message = nullptr;  // empty: the message box is hidden
    ActionDialogSettings common;
};

class ActionProgressDialog : public ActionDialog {
  public:
    explicit ActionProgressDialog(const ProgressDialogSettings& settings);
    ~ActionProgressDialog() override;

    const std::string& GetTitle() const { return title_; }
    const std::string& GetMessage() const { return message_; }

  private:
    int TemplateId() const override;
    DLGPROC Procedure() const override;

    std::string title_;
    std::string message_;
};
