#pragma once

// The base of the three action dialogs (Windows only): the outcome flags the command handlers turn
// into the reply, the offered buttons, the picture and title-bar icon, the failure record, the
// agent's stop event, the session-end notice and the run of the dialog itself.

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/handles_win.h"
#include "platform/stop_event_win.h"
#include "ui/localization_failure.h"
#include "ui/placement.h"
#include "ui/window_icons_win.h"

// Sent by a dialog object's destructor; every action dialog procedure destroys its window on it.
constexpr UINT kCloseDialogMessage = WM_USER + 110;
// The one-second timer of the pre-action and reminder dialogs.
constexpr UINT_PTR kCountdownTimerId = 201;
constexpr UINT kCountdownTimerPeriodMs = 1000;

// Told when the Windows session ends while a dialog shows. The program's top writes "CLOSED" at
// once, since the process may not outlive the session; the dialogs never write a reply.
class SessionEndNotice {
  public:
    virtual void SessionEnding() = 0;

  protected:
    ~SessionEndNotice() = default;
};

// What every dialog is given besides its own texts and choices.
struct ActionDialogSettings {
    // The request's decoded picture; the pixels stay the caller's and are left as they are.
    uint8_t* imagePixels = nullptr;
    uint32_t imageWidth = 0;
    uint32_t imageHeight = 0;
    bool showInTaskbar = false;              // the request's ":TASKBAR"
    SessionEndNotice* sessionEnd = nullptr;  // null: nobody is told
};

class ActionDialog {
  public:
    explicit ActionDialog(const ActionDialogSettings& settings);
    virtual ~ActionDialog();
    ActionDialog(const ActionDialog&) = delete;
    ActionDialog& operator=(const ActionDialog&) = delete;

    // Shows the dialog and returns once it is gone (a choice, a countdown, the stop event or the
    // session's end); the outcome is left in the flags.
    void Run();

    virtual bool CanCancel() const { return cancelAllowed_; }
    virtual bool HasPreview() const { return previewAvailable_; }

    bool IsCancelled() const { return cancelled_; }
    void SetCancelled(bool value) { cancelled_ = value; }
    bool IsActionTaken() const { return actionTaken_; }
    void SetActionTaken(bool value) { actionTaken_ = value; }
    bool IsTakenAutomatically() const { return takenAutomatically_; }
    void SetTakenAutomatically(bool value) { takenAutomatically_ = value; }
    bool ShowsInTaskbar() const { return showInTaskbar_; }
    HINSTANCE GetModuleInstance() const { return moduleInstance_; }
    HWND GetWindow() const { return window_; }

    // Kept for diagnosis only; never reported to the agent.
    void RecordFailure(int code, const char* text);
    // Records `code` with the template the dialog was localizing when it failed.
    void RecordLocalizationFailure(LocalizationFailureCode code);

    uint32_t GetImageWidth() const { return imageWidth_; }
    uint32_t GetImageHeight() const { return imageHeight_; }
    HBITMAP GetImageBitmap() const { return static_cast<HBITMAP>(imageBitmap_.get()); }
    // Builds the picture, composed over the button face, as a bitmap compatible with the
    // window's device context; without a picture no device context is asked for. Called again
    // when the system colours change, it draws into the same bitmap.
    void ComposeImageBitmap(HWND dialogWindow);
    // Where the dialog paints its picture, in its client area.
    Point GetPictureCorner() const { return pictureCorner_; }
    Point& PictureCorner() { return pictureCorner_; }

    // The window's icons from the request's image file (a path in the system code page); a size
    // the file does not give, or a null path, leaves the application's icon for that size.
    void LoadWindowIcon(const char* imagePath);
    // Both icons once the dialog runs; a preview it opens shows them too.
    const WindowIcons& GetWindowIcons() const { return windowIcons_; }

    // The Windows session is ending: the program's top writes "CLOSED" unless it has replied.
    void ReportClosed();
    // Polls the agent's stop event.
    bool IsStopRequested() { return stopEvent_.IsSignalled(); }

  protected:
    void OfferButtons(bool cancel, bool preview) {
        cancelAllowed_ = cancel;
        previewAvailable_ = preview;
    }

  private:
    // The dialog template and procedure of the derived dialog.
    virtual int TemplateId() const = 0;
    virtual DLGPROC Procedure() const = 0;
    // Work before the window is made; a failure is recorded and the dialog is not shown.
    virtual LocalizationFailureCode PrepareRun() { return kLocalizationSucceeded; }

    // Declared first, so that it is in place before any text is localized.
    LiteralTracker literalTracker_;
    bool cancelled_ = false;
    bool actionTaken_ = false;
    bool takenAutomatically_ = false;
    bool cancelAllowed_ = false;
    bool previewAvailable_ = false;
    bool showInTaskbar_ = false;
    // Cleared by the first stop seen, which destroys the dialog once.
    bool onceStopFlag_ = true;
    int failureCode_ = 0;
    std::string failureText_;
    HINSTANCE moduleInstance_ = nullptr;
    HWND window_ = nullptr;
    uint32_t imageWidth_ = 0;
    uint32_t imageHeight_ = 0;
    uint8_t* imagePixels_ = nullptr;
    ScopedGdiObject imageBitmap_;
    Point pictureCorner_;
    // Released after the destructor has closed the window that shows them.
    WindowIcons windowIcons_;
    SessionEndNotice* sessionEnd_ = nullptr;
    StopEventWatch stopEvent_;
};
