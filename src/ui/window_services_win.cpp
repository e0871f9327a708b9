#include <windows.h>

// Needs the types of windows.h.
#include <commctrl.h>

#include <exception>

#include "platform/handles_win.h"
#include "resource.h"
#include "ui/accessible_names_win.h"
#include "ui/dpi_scaling.h"
#include "ui/layout_direction_win.h"
#include "ui/picture_layout.h"
#include "ui/window_services_win.h"
#include "ui/window_text_win.h"

namespace {

// The longest an idle loop waits before it polls the agent's stop event again: the loop waits on
// the event itself once it is open, so this only bounds the retry of an event that is missing.
constexpr DWORD kStopPollIntervalMs = 100;
constexpr int kHiddenWindowPosition = -50;
constexpr WorkArea kFallbackWorkArea = {0, 0, 800, 600};

// An exception caught at a dialog procedure's edge, waiting for the loop to rethrow it.
std::exception_ptr stashedException;

// The dialog whose run the agent's stop ends, wherever its messages are pumped: in its own loop
// or in the nested loop of a preview it opened.
struct StoppableRun {
    ActionDialog* dialog = nullptr;
    HWND window = nullptr;
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

// Returns as soon as input, a posted or a sent message arrives or the agent signals its stop, else
// after the poll interval. Sent messages (another program reading a control's text) are answered
// by the next peek. Once the stop is honoured the event is no longer waited on: it stays
// signalled (manual reset) and would wake the loop at once on every pass.
void WaitForMessageOrStop() {
    HANDLE stop = currentRun.dialog != nullptr && *currentRun.onceStopFlag
                      ? currentRun.dialog->OpenedStopEvent()
                      : nullptr;
    MsgWaitForMultipleObjectsEx(stop != nullptr ? 1 : 0, stop != nullptr ? &stop : nullptr,
                                kStopPollIntervalMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void RethrowStashedException() {
    if (!stashedException) return;
    std::exception_ptr pending = stashedException;
    stashedException = nullptr;
    std::rethrow_exception(pending);
}

void SetDialogIcon(ActionDialog& dialog, HWND window) {
    HICON icon = dialog.GetWindowIcon();
    if (icon == nullptr) {
        icon = static_cast<HICON>(LoadImageA(
            dialog.GetModuleInstance(), MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON,
            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    }
    if (icon != nullptr)
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

ScreenSize ReadScreenSize() {
    ScreenSize screen;
    const WindowDC dc(nullptr);
    if (!dc) return screen;
    screen = {true, GetDeviceCaps(dc.get(), HORZRES), GetDeviceCaps(dc.get(), VERTRES)};
    return screen;
}

ClientSize ReadClientSize(HWND window) {
    RECT client;
    if (!GetClientRect(window, &client)) return {};
    return {true, client.right, client.bottom};
}

WorkArea ReadWorkArea() {
    RECT area;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        return {area.left, area.top, area.right, area.bottom};
    }
    const ScreenSize screen = ReadScreenSize();
    if (!screen.known) return kFallbackWorkArea;
    return {0, 0, screen.width, screen.height};
}

}  // namespace

HWND CreateHiddenOwnerWindow(const char* title, bool showInTaskbar) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = kHiddenWindowClass;
    RegisterClassExA(&windowClass);  // already registered is fine
    return CreateWindowExA(showInTaskbar ? WS_EX_APPWINDOW : 0, kHiddenWindowClass, title, 0,
                           kHiddenWindowPosition, kHiddenWindowPosition, 0, 0, nullptr, nullptr,
                           nullptr, nullptr);
}

bool HonourStopRequest() {
    if (currentRun.dialog == nullptr || !currentRun.dialog->IsStopRequested()) return false;
    if (*currentRun.onceStopFlag) {
        *currentRun.onceStopFlag = false;
        // An open preview is owned by the dialog and goes with it.
        DestroyWindow(currentRun.window);
    }
    return true;
}

bool PumpDialogMessage(HWND dialog, HACCEL accelerators) {
    HonourStopRequest();
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
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

void RunDialogLoop(ActionDialog* dialog, int resourceId, DLGPROC procedure, bool& onceStopFlag) {
    if (dialog == nullptr) return;
    // The manifest asks for the common controls' version 6, which must be loaded before the
    // dialog's controls are created to take their place.
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        HWND owner = CreateHiddenOwnerWindow(kHiddenWindowTitle, dialog->ShowsInTaskbar());
        HWND previousForeground = GetForegroundWindow();
        HWND window = CreateDialogInLayoutDirection(dialog->GetModuleInstance(), resourceId, owner,
                                                    procedure);
        // A dialog that failed in WM_INITDIALOG is already gone: there is nothing to run.
        if (window == nullptr) return;
        // Shown first: the icon is in place before the first paint, which the loop does, and
        // loading it no longer delays the showing.
        ShowWindow(window, SW_SHOWNA);
        SetDialogIcon(*dialog, window);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (previousForeground != nullptr) SetForegroundWindow(previousForeground);
        dialog->SetWindow(window);
        HACCEL accelerators =
            LoadAcceleratorsW(dialog->GetModuleInstance(), MAKEINTRESOURCEW(resourceId));
        CurrentRunScope run({dialog, window, &onceStopFlag});
        while (PumpDialogMessage(window, accelerators)) {
        }
    } catch (...) {
        UnregisterClassA(kHiddenWindowClass, nullptr);
    }
}

Point ResolveStartPosition(HWND dialog, Point& stored) {
    return ResolveStartPoint(stored, ReadScreenSize(), ReadClientSize(dialog));
}

void PlaceDialogAtStart(HWND dialog, Point& stored) {
    const Point start = ResolveStartPosition(dialog, stored);
    SetWindowPos(dialog, HWND_TOPMOST, start.x, start.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void KeepInWorkArea(HWND dialog, LPARAM movedTo) {
    const int32_t x = static_cast<int16_t>(LOWORD(movedTo));
    const int32_t y = static_cast<int16_t>(HIWORD(movedTo));
    const FrameMetrics frame = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
                                GetSystemMetrics(SM_CYCAPTION)};
    const WorkAreaCorrection correction =
        KeepPointInWorkArea(x, y, ReadWorkArea(), ReadClientSize(dialog), frame);
    if (correction.move) {
        SetWindowPos(dialog, HWND_TOPMOST, correction.x, correction.y, 0, 0, SWP_NOSIZE);
    }
}

void ApplyTaskbarRule(HWND dialog, bool showInTaskbar) {
    if (showInTaskbar) return;
    SetWindowLongPtrW(dialog, GWL_EXSTYLE,
                      GetWindowLongPtrW(dialog, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_APPWINDOW});
    RemoveSystemMenu(dialog);
}

void RemoveSystemMenu(HWND dialog) {
    SetWindowLongPtrW(dialog, GWL_STYLE,
                      GetWindowLongPtrW(dialog, GWL_STYLE) & ~LONG_PTR{WS_SYSMENU});
}

uint32_t ReadSystemDpi() {
    static const uint32_t dpi = [] {
        const WindowDC dc(nullptr);
        if (!dc) return kDefaultDpi;
        const int logicalPixels = GetDeviceCaps(dc.get(), LOGPIXELSX);
        return logicalPixels > 0 ? static_cast<uint32_t>(logicalPixels) : kDefaultDpi;
    }();
    return dpi;
}

namespace {

uint32_t PictureSizeForDpi(uint32_t pixels) {
    return static_cast<uint32_t>(ScaleToDpi(static_cast<int32_t>(pixels), ReadSystemDpi()));
}

void DrawPicture(HDC dc, HDC picture, uint32_t width, uint32_t height, Point corner) {
    const int shownWidth = static_cast<int>(PictureSizeForDpi(width));
    const int shownHeight = static_cast<int>(PictureSizeForDpi(height));
    if (shownWidth == static_cast<int>(width) && shownHeight == static_cast<int>(height)) {
        BitBlt(dc, corner.x, corner.y, shownWidth, shownHeight, picture, 0, 0, SRCCOPY);
        return;
    }
    // Smoothed, not blocky: the picture grows with the text around it.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, corner.x, corner.y, shownWidth, shownHeight, picture, 0, 0,
               static_cast<int>(width), static_cast<int>(height), SRCCOPY);
}

}  // namespace

bool MakeRoomForPictureBeside(HWND dialog, int controlId, uint32_t imageWidth, uint32_t imageHeight,
                              Point& pictureCorner) {
    HWND control = GetDlgItem(dialog, controlId);
    RECT controlRect;
    RECT dialogRect;
    if (control == nullptr || !GetWindowRect(control, &controlRect) ||
        !GetWindowRect(dialog, &dialogRect)) {
        return false;
    }
    // As a rectangle, so that a mirrored dialog maps the control's near edge, not its far one.
    RECT inDialog = controlRect;
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&inDialog), 2);
    const ControlBox box = {inDialog.left, inDialog.top, controlRect.right - controlRect.left,
                            controlRect.bottom - controlRect.top};
    const PictureRoom room =
        MakeRoomForPicture(box, PictureSizeForDpi(imageWidth), PictureSizeForDpi(imageHeight));
    SetWindowPos(control, nullptr, room.control.x, room.control.y, room.control.width,
                 room.control.height, SWP_NOZORDER | SWP_SHOWWINDOW);
    pictureCorner = {room.pictureX, room.pictureY};
    return true;
}

void PaintPicture(HWND dialog, HBITMAP bitmap, uint32_t width, uint32_t height, Point corner) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    if (dc != nullptr) {
        PreserveBitmapOrientation(dc);
        MemoryDC memory(dc, bitmap);
        if (memory.get() != nullptr) DrawPicture(dc, memory.get(), width, height, corner);
    }
    EndPaint(dialog, &paint);
}

void SetCaption(HWND dialog, int controlId, const char* literal) {
    HWND control = GetDlgItem(dialog, controlId);
    if (control == nullptr) return;
    SetWindowUtf8Text(control, Localize(MakeTemplate(LiteralTracker::Mark(literal))).range());
}

void SetCaptionOrEnglish(HWND dialog, int controlId, const char* literal) {
    try {
        SetCaption(dialog, controlId, literal);
    } catch (...) {
        if (HWND control = GetDlgItem(dialog, controlId)) SetWindowRequestText(control, literal);
    }
}

void ShowControl(HWND dialog, int controlId, bool visible) {
    HWND control = GetDlgItem(dialog, controlId);
    if (control != nullptr) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void EnableControl(HWND dialog, int controlId, bool enabled) {
    HWND control = GetDlgItem(dialog, controlId);
    if (control != nullptr) EnableWindow(control, enabled ? TRUE : FALSE);
}

bool ReadComboSelection(HWND combo, uint32_t& selection) {
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return false;
    selection = static_cast<uint32_t>(selected);
    return true;
}

DialogPicture PictureOf(const ActionDialog* dialog, Point corner) {
    if (dialog == nullptr) return {};
    return {dialog->GetImageBitmap(), dialog->GetImageWidth(), dialog->GetImageHeight(), corner};
}

std::optional<INT_PTR> HandleSharedDialogMessage(HWND dialog, UINT message, WPARAM wParam,
                                                 LPARAM lParam, ActionDialog* dialogObject,
                                                 const DialogPicture& picture) {
    switch (message) {
        case WM_ENDSESSION:
            if (!wParam) return FALSE;
            if (dialogObject != nullptr) dialogObject->ReportClosed();
            DestroyWindow(dialog);
            return TRUE;
        case WM_MOVE:
            KeepInWorkArea(dialog, lParam);
            return TRUE;
        case WM_PAINT:
            if (picture.bitmap != nullptr) {
                PaintPicture(dialog, picture.bitmap, picture.width, picture.height, picture.corner);
            }
            return FALSE;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            // The picture is blended over the face colour, which a high-contrast scheme changes.
            if (dialogObject != nullptr) dialogObject->ComposeImageBitmap(dialog);
            InvalidateRect(dialog, nullptr, TRUE);
            return FALSE;
        case WM_DESTROY:
            ForgetDialogDescription(dialog);
            PostQuitMessage(0);
            return TRUE;
        default:
            return std::nullopt;
    }
}

namespace {

INT_PTR HandleOwnCases(const ActionDialogHandlers& handlers, HWND dialog, UINT message,
                       WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            handlers.init(dialog);
            return FALSE;  // the dialog has put the focus where it belongs
        case WM_COMMAND:
            return handlers.command(dialog, wParam, lParam);
        case WM_TIMER:
            if (handlers.timer != nullptr) handlers.timer(dialog, wParam);
            return TRUE;
        case WM_CLOSE:
            if (handlers.closeBoxCloses) handlers.close(dialog);
            return TRUE;
        case kCloseDialogMessage:
            handlers.close(dialog);
            return TRUE;
        default:
            return HandleSharedDialogMessage(dialog, message, wParam, lParam, handlers.owner(),
                                             handlers.picture())
                .value_or(FALSE);
    }
}

}  // namespace

INT_PTR HandleActionDialogMessage(const ActionDialogHandlers& handlers, HWND dialog, UINT message,
                                  WPARAM wParam, LPARAM lParam) {
    try {
        return HandleOwnCases(handlers, dialog, message, wParam, lParam);
    } catch (...) {
        StashDialogException(dialog);
        return TRUE;
    }
}
