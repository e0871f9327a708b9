#pragma once

// The remind interval combo box (IDC_REMIND_COMBO) of the pre-action and reminder dialogs
// (Windows only): the window glue over the list arithmetic of remind_intervals.h.

#include <windows.h>

#include "ui/action_dialog_win.h"
#include "ui/remind_intervals.h"

// Fills the combo with the first `count` captions (all seventeen unless told otherwise) and
// selects the chosen entry. Conversion failures propagate to the caller (WM_INITDIALOG records
// them).
void FillRemindCombo(HWND dialog, const RemindIntervalTexts& texts, const RemindState& state,
                     uint32_t count = kRemindIntervalCount);

// Replaces the entries by the single " immediately" choice. Does nothing without the combo.
void SwitchRemindToImmediately(HWND dialog, RemindState& state);

// Shrinks the combo to the intervals shorter than the time left (or switches to " immediately").
// A conversion failure is recorded on `owner` and ends the dialog by destroying its window.
void TrimRemindCombo(HWND dialog, const RemindIntervalTexts& texts, RemindState& state,
                     ActionDialog* owner);

// The user chose another interval in `combo`.
void ChooseRemindEntry(HWND combo, RemindState& state);

// Records a remind-list failure of `step` on `owner` and destroys the window; used for trimming
// and for the switch to " immediately" on a tick.
template <typename Step>
void RunRemindStepOrFail(HWND dialog, ActionDialog* owner, Step&& step) {
    const LocalizationFailureCode code = CatchLocalizationFailure(step);
    if (code == kLocalizationSucceeded) return;
    if (owner != nullptr) owner->RecordLocalizationFailure(code);
    DestroyWindow(dialog);
}
