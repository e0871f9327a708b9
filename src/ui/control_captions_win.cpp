#include "ui/control_captions_win.h"

#include "format/template.h"
#include "ui/localization_failure.h"
#include "ui/window_text_win.h"

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
