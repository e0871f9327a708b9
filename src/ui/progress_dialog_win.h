#pragma once

// The dialog of a "PROGRESS" request (Windows only): a title, an optional picture, a read-only
// message and "Hide". It asks nothing; the reply is "OK" however it ends.

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/action_dialog_win.h"

class ActionProgressDialog : public ActionDialog {
  public:
    ActionProgressDialog(const char* title, const char* message, uint32_t imageWidth,
                         uint32_t imageHeight, uint8_t* imagePixels, HINSTANCE moduleInstance,
                         CRITICAL_SECTION* outputLock, bool* repliedFlag, bool showInTaskbar);
    ~ActionProgressDialog() override;

    const std::string& GetTitle() const { return title_; }
    const std::string& GetMessage() const { return message_; }

  private:
    int TemplateId() const override;
    DLGPROC Procedure() const override;

    std::string title_;
    std::string message_;
};
