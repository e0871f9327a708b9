// floor_dialog: the least a dialog process can do on this platform. It shows one of the product's
// dialog templates (the progress dialog's unless a second argument names another) with the caption
// given on its command line, and ends when it is hidden or closed. A third argument names the
// control that takes the focus at the start, where the product puts it (its message box, so that
// a screen reader reads it first: the system's caret then blinks in both). It is the baseline for
// the product's benchmarks and the target of the driver's own tests.

#include <windows.h>

#include <cstdlib>

#include "resource.h"

namespace {

constexpr UINT kCloseDialogMessage = WM_USER + 110;
constexpr char kFloorMessage[] = "Baseline dialog: press Hide to end.";

const char* g_caption = "";
int g_focusId = 0;  // 0: the dialog manager's choice, the first tab stop

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowTextA(dialog, g_caption);
            SetDlgItemTextA(dialog, IDC_PROGRESS_MESSAGE, kFloorMessage);
            if (g_focusId == 0) return TRUE;
            SetFocus(GetDlgItem(dialog, g_focusId));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_HIDE_BUTTON) return FALSE;
            DestroyWindow(dialog);
            return TRUE;
        case WM_CLOSE:
        case kCloseDialogMessage:
            DestroyWindow(dialog);
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The runtime has already split the command line; lpCmdLine would still carry the quotes.
    if (__argc > 1) g_caption = __argv[1];
    const int templateId = __argc > 2 ? std::atoi(__argv[2]) : IDD_PROGRESS;
    if (__argc > 3) g_focusId = std::atoi(__argv[3]);
    HWND dialog =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), nullptr, FloorDialogProc, 0);
    if (!dialog) return 1;
    // Shown like the product's dialogs: on top, without taking the keyboard.
    ShowWindow(dialog, SW_SHOWNA);
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
