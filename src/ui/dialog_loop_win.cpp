#include "ui/dialog_loop_win.h"

// Needs the types of windows.h.
#include <commctrl.h>

#include <exception>

#include "ui/layout_direction_win.h"

namespace {

// The longest an idle loop waits before it polls the agent's stop event again. Once the event is
// open the loop sleeps until a message or the event arrives, so this only bounds the retry of an
// event that could not be opened.
constexpr DWORD kStopPollIntervalMs = 100;
// Posted to the hidden owner window when the stop event is signalled: it reaches the program from
// the system's modal loops too (moving, sizing, the system menu), which never return to ours.
constexpr UINT kStopSignalledMessage = WM_APP + 2;
constexpr int kHiddenWindowPosition = -50;

// An exception caught at a dialog procedure's edge, waiting for the loop to rethrow it.
std::exception_ptr stashedException;

// The run the agent's stop ends, wherever its messages are pumped: in its own loop or in the
// nested loop of a preview it opened.
struct StoppableRun {
    HWND window = nullptr;
    StopEventWatch* stopEvent = nullptr;
    bool* onceStopFlag = nullptr;
};
StoppableRun currentRun;

class CurrentRunScope {
  public:
    explicit CurrentRunScope(const StoppableRun& run) { currentRun = run; }
    ~CurrentRunScope() { currentRun = {}; }
    CurrentRunScope(const CurrentRunScope&) = delete;
    CurrentRunScope& operator=(const CurrentRunScope&) = delete;
};

// Returns as soon as input, a posted or a sent message arrives or the agent signals its stop;
// only while the event could not be opened, also after the poll interval. Sent messages (another
// program reading a control's text) are answered by the next peek. Once the stop is honoured the
// event is no longer waited on: it stays signalled (manual reset) and would wake the loop at once
// on every pass.
void WaitForMessageOrStop() {
    const bool eventOpen =
        currentRun.stopEvent != nullptr && currentRun.stopEvent->Handle() != nullptr;
    HANDLE stop = eventOpen && *currentRun.onceStopFlag ? currentRun.stopEvent->Handle() : nullptr;
    MsgWaitForMultipleObjectsEx(stop != nullptr ? 1 : 0, stop != nullptr ? &stop : nullptr,
                                eventOpen ? INFINITE : kStopPollIntervalMs, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
}

LRESULT CALLBACK HiddenOwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStopSignalledMessage) {
        HonourStopRequest();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RethrowStashedException() {
    if (!stashedException) return;
    std::exception_ptr pending = stashedException;
    stashedException = nullptr;
    std::rethrow_exception(pending);
}

}  // namespace

HWND CreateHiddenOwnerWindow(const wchar_t* title, bool showInTaskbar) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HiddenOwnerProcedure;
    windowClass.lpszClassName = kHiddenWindowClass;
    RegisterClassExW(&windowClass);  // already registered is fine
    return CreateWindowExW(showInTaskbar ? WS_EX_APPWINDOW : 0, kHiddenWindowClass, title, 0,
                           kHiddenWindowPosition, kHiddenWindowPosition, 0, 0, nullptr, nullptr,
                           nullptr, nullptr);
}

bool HonourStopRequest() {
    if (currentRun.stopEvent == nullptr || !currentRun.stopEvent->IsSignalled()) return false;
    if (*currentRun.onceStopFlag) {
        *currentRun.onceStopFlag = false;
        // An open preview is owned by the dialog and goes with it.
        DestroyWindow(currentRun.window);
    }
    return true;
}

void DiscardPendingQuit() {
    MSG message;
    PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

bool PumpDialogMessage(HWND dialog, HACCEL accelerators) {
    HonourStopRequest();
    MSG message;
    const bool queued = PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    // A system modal loop (moving, sizing) that ran inside the peek ends on the quit message our
    // window's destruction posted, and takes it: the run ends all the same once its window is
    // gone, and a quit still pending was its own.
    if (!IsWindow(dialog)) {
        DiscardPendingQuit();
        return false;
    }
    if (!queued) {
        WaitForMessageOrStop();
        return true;
    }
    // 0 is WM_QUIT; -1 (an error) must end the loop too rather than spin.
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) return false;
    if (!IsDialogMessageW(dialog, &message) &&
        !TranslateAcceleratorW(dialog, accelerators, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RethrowStashedException();
    return true;
}

void StashDialogException(HWND dialog) {
    if (!stashedException) stashedException = std::current_exception();
    if (dialog != nullptr && IsWindow(dialog)) DestroyWindow(dialog);
}

void RunDialogLoop(const DialogRunSettings& run) {
    // The manifest asks for the common controls' version 6, which must be loaded before the
    // dialog's controls are created to take their place.
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        HWND owner = CreateHiddenOwnerWindow(kHiddenWindowTitle, run.showInTaskbar);
        HWND previousForeground = GetForegroundWindow();
        HWND window =
            CreateDialogInLayoutDirection(run.instance, run.templateId, owner, run.procedure);
        // A dialog that failed in WM_INITDIALOG is already gone: there is nothing to run.
        if (window == nullptr) return;
        // Shown first: the focus and the icons are in place before the first paint, which the
        // loop does, and neither delays the showing. The focus activates the dialog, so the
        // user's window gets the foreground back after it.
        ShowWindow(window, SW_SHOWNA);
        SendMessageW(window, kDialogShownMessage, 0, 0);
        if (!run.icons->Complete()) LoadMissingApplicationIcons(run.instance, *run.icons);
        SetWindowIcons(window, *run.icons);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (previousForeground != nullptr) SetForegroundWindow(previousForeground);
        if (run.window != nullptr) *run.window = window;
        HACCEL accelerators = LoadAcceleratorsW(run.instance, MAKEINTRESOURCEW(run.templateId));
        CurrentRunScope scope({window, run.stopEvent, run.onceStopFlag});
        if (run.stopEvent != nullptr) run.stopEvent->PostOnSignal(owner, kStopSignalledMessage);
        while (PumpDialogMessage(window, accelerators)) {
        }
    } catch (...) {
        UnregisterClassW(kHiddenWindowClass, nullptr);
    }
}
