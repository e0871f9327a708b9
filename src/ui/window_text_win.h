#pragma once

// Every text reaches a window through here (Windows only). Texts stay UTF-8 inside the program and
// become UTF-16 only at the window call, so they show exactly as written under any system code
// page. The dialogs are Unicode windows (CreateDialogParamW): an ANSI window would hand its caption
// through the code page, whichever call sets it.

#include <windows.h>

#include <string>

#include "format/text_range.h"

// A text the program made: a localized caption or a computed message. Raises InvalidTextEncoding
// when the bytes are not UTF-8 (a translation's broken value), before the window is touched.
bool SetWindowUtf8Text(HWND window, TextRange text);

// A text as the request carried it (a title, a message, a preview). UTF-8 shows as written; bytes
// that are not UTF-8 come from an agent that writes its system code page and are shown as that
// code page reads them. Never fails because of the encoding.
bool SetWindowRequestText(HWND window, const char* text);
// The wide text SetWindowRequestText shows; null reads as empty.
std::wstring RequestTextToWide(const char* text);

// Appends a program-made UTF-8 text to a combo box; InvalidTextEncoding as above.
void AddComboUtf8Entry(HWND combo, TextRange text);
