#pragma once

// The texts and states of a dialog's controls (Windows only).

#include <windows.h>

#include <cstdint>

#include "resource.h"
#include "ui/window_text_win.h"

// Marks `literal` as the template being localized, localizes it without arguments and sets it
// as the text of control `controlId` (skipped when the control is missing).
void SetCaption(HWND dialog, int controlId, const char* literal);

// Like SetCaption, but a caption that cannot be localized or converted shows the English literal
// instead of failing the dialog.
void SetCaptionOrEnglish(HWND dialog, int controlId, const char* literal);

void ShowControl(HWND dialog, int controlId, bool visible);
void EnableControl(HWND dialog, int controlId, bool enabled);

// Shows the countdown line `build` makes. False when it cannot be shown (no line, a text that
// fails to build), which stops the countdown: a countdown never fails its dialog.
template <typename Build>
bool ShowCountdownLine(HWND dialog, Build&& build) {
    HWND line = GetDlgItem(dialog, IDC_COUNTDOWN);
    if (line == nullptr) return false;
    try {
        return SetWindowUtf8Text(line, build().range());
    } catch (...) {
        return false;
    }
}

// The selected entry of a combo box; false when none is selected.
bool ReadComboSelection(HWND combo, uint32_t& selection);
