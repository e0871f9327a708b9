#pragma once

// What a screen reader says about a dialog (Windows only): the hidden labels that name its boxes
// and lists, and its message as the dialog's description.

#include <windows.h>

// Sets whichever hidden labels the dialog has, translated. A label that cannot be localized shows
// its English text: an unseen name never ends a dialog.
void SetControlLabels(HWND dialog);

// Gives the dialog `text` (a request text, shown as received) as its description; an empty text
// takes the description away.
void DescribeDialog(HWND dialog, const char* text);

// On WM_DESTROY: the annotation must not outlive the window.
void ForgetDialogDescription(HWND dialog);
