#pragma once

// The keyboard in the dialogs (Windows only): where the focus starts, and the keys a message box
// must not pass on.

#include <windows.h>

#include <initializer_list>

// Puts the focus on the first of `candidates` (control ids, in order of preference) that is shown
// and enabled. Each dialog lists its message first and then the controls that choose without
// acting, so the focus is never on nothing and never on a button that acts.
void FocusFirstShownControl(HWND dialog, std::initializer_list<int> candidates);

// What a message box does with Enter besides ignoring Escape.
enum class EnterInMessage {
    kPassOn,   // presses the dialog's default button (the preview's harmless "Hide")
    kIgnored,  // the default button would take the action
};

// A multi-line box turns Escape into WM_CLOSE for its dialog and Enter into a press of the default
// button. Escape does nothing in these dialogs, and an Enter in a text being read must not start a
// restart: the box `controlId` of `dialog` drops them as `enter` says.
void GuardMessageKeys(HWND dialog, int controlId, EnterInMessage enter);
