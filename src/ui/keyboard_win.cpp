#include "ui/keyboard_win.h"

// Needs the types of windows.h.
#include <commctrl.h>

namespace {

constexpr UINT_PTR kMessageKeysSubclassId = 1;

bool IsDroppedKey(UINT message, WPARAM key, EnterInMessage enter) {
    if (message != WM_KEYDOWN && message != WM_KEYUP && message != WM_CHAR) return false;
    // For WM_CHAR the character codes of Escape and Enter equal their virtual keys.
    return key == VK_ESCAPE || (key == VK_RETURN && enter == EnterInMessage::kIgnored);
}

LRESULT CALLBACK MessageKeysProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR enter) {
    if (IsDroppedKey(message, wParam, static_cast<EnterInMessage>(enter))) return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, MessageKeysProc, kMessageKeysSubclassId);
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void FocusFirstShownControl(HWND dialog, std::initializer_list<int> candidates) {
    for (int id : candidates) {
        HWND control = GetDlgItem(dialog, id);
        // The dialog itself is not shown yet: the control's own style tells.
        const LONG_PTR style = control != nullptr ? GetWindowLongPtrW(control, GWL_STYLE) : 0;
        if ((style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0) continue;
        SetFocus(control);
        return;
    }
}

void GuardMessageKeys(HWND dialog, int controlId, EnterInMessage enter) {
    if (HWND box = GetDlgItem(dialog, controlId)) {
        SetWindowSubclass(box, MessageKeysProc, kMessageKeysSubclassId,
                          static_cast<DWORD_PTR>(enter));
    }
}
