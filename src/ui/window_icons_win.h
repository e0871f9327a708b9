#pragma once

// The icons a window shows (Windows only): the big one for Alt+Tab and the taskbar, the small one
// for the title bar, each loaded at exactly its system size so nothing scales them afterwards.

#include <windows.h>

#include "platform/handles_win.h"

struct WindowIcons {
    ScopedIcon big;    // SM_CXICON by SM_CYICON
    ScopedIcon small;  // SM_CXSMICON by SM_CYSMICON

    bool Complete() const { return big && small; }
};

// Both sizes from an icon file; `path` is in the system code page. A size the file cannot give
// stays empty.
WindowIcons LoadWindowIconsFromFile(const char* path);
// Fills the sizes still empty from the application's icon group.
void LoadMissingApplicationIcons(HINSTANCE instance, WindowIcons& icons);
// Hands both icons to `window`; they stay owned by `icons`, which must outlive the window.
void SetWindowIcons(HWND window, const WindowIcons& icons);
