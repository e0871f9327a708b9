#pragma once

// What a screen reader says about a dialog (Windows only): the hidden labels that name its boxes
// and lists, and its message as the dialog's description.

#include <windows.h>

// Sets whichever hidden labels the dialog has, translated. A label that cannot be localized shows
// its English text: an unseen name never ends a dialog.
void SetControlLabels(HWND dialog);

// Posted by DescribeDialog; the dialog procedure answers it with ApplyDialogDescription.
constexpr UINT kApplyDescriptionMessage = WM_APP + 1;

// Gives the dialog `text` (a request text, shown as received) as its description; an empty text
// takes the description away. Applied once the dialog's messages run: reaching the accessibility
// service loads COM, which must not delay the dialog's first showing.
void DescribeDialog(HWND dialog, const char* text);
void ApplyDialogDescription(HWND dialog);

// On WM_DESTROY: the annotation must not outlive the window.
void ForgetDialogDescription(HWND dialog);
