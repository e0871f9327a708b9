#pragma once

// The base of the three action dialogs (Windows only): the outcome flags the command handlers turn
// into the reply, the offered buttons, the picture and title-bar icon, the failure record, the
// agent's stop event and the session-end notice.

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/handles_win.h"
#include "protocol/stop_event.h"

// Sent by a dialog object's destructor; every action dialog procedure destroys its window on it.
constexpr UINT kCloseDialogMessage = WM_USER + 110;
// The one-second timer of the pre-action and reminder dialogs.
constexpr UINT_PTR kCountdownTimerId = 201;
constexpr UINT kCountdownTimerPeriodMs = 1000;

class ActionDialog {
  public:
    ActionDialog(CRITICAL_SECTION* outputLock, bool* repliedFlag, bool showInTaskbar);
    virtual ~ActionDialog();
    ActionDialog(const ActionDialog&) = delete;
    ActionDialog& operator=(const ActionDialog&) = delete;

    virtual bool CanCancel() const { return cancelAllowed; }
    virtual bool HasPreview() const { return previewAvailable; }

    bool IsCancelled() const { return cancelled; }
    void SetCancelled(bool value) { cancelled = value; }
    bool IsActionTaken() const { return actionTaken; }
    void SetActionTaken(bool value) { actionTaken = value; }
    bool IsTakenAutomatically() const { return takenAutomatically; }
    void SetTakenAutomatically(bool value) { takenAutomatically = value; }
    bool ShowsInTaskbar() const { return showInTaskbar; }
    HINSTANCE GetModuleInstance() const { return moduleInstance; }
    void SetWindow(HWND dialogWindow) { window = dialogWindow; }
    HWND GetWindow() const { return window; }

    // Kept for diagnosis only; never reported to the agent.
    void RecordFailure(int code, const char* text);
    int GetFailureCode() const { return failureCode; }

    // The decoded picture; the pixels stay the caller's and are blended in place.
    void SetImage(uint8_t* pixels, uint32_t width, uint32_t height);
    uint32_t GetImageWidth() const { return imageWidth; }
    uint32_t GetImageHeight() const { return imageHeight; }
    HBITMAP GetImageBitmap() const { return static_cast<HBITMAP>(imageBitmap.get()); }
    // Builds the picture, composed over the button face, as a bitmap compatible with the
    // window's device context; without a picture no device context is asked for.
    void ComposeImageBitmap(HWND dialogWindow);

    // The title-bar icon from the request's image file; null path or failure leaves none.
    void LoadWindowIcon(const char* imagePath);
    HICON GetWindowIcon() const { return windowIcon.get(); }

    // The Windows session is ending: writes "CLOSED" unless a reply was already written.
    void ReportClosed();
    // Polls the agent's stop event (opened for waiting on first use, created only when missing,
    // retried while that fails).
    bool IsStopRequested();

  protected:
    bool cancelled = false;
    bool actionTaken = false;
    bool takenAutomatically = false;
    bool cancelAllowed = false;
    bool previewAvailable = false;
    bool showInTaskbar = false;
    int failureCode = 0;
    std::string failureText;
    HINSTANCE moduleInstance = nullptr;
    HWND window = nullptr;
    uint32_t imageWidth = 0;
    uint32_t imageHeight = 0;
    uint8_t* imagePixels = nullptr;
    ScopedGdiObject imageBitmap;
    ScopedIcon windowIcon;
    CRITICAL_SECTION* outputLock = nullptr;
    bool* repliedFlag = nullptr;
    HANDLE stopEvent = nullptr;  // left to process exit: the agent may still be signalling it
    bool stopEventSupported = false;
};
