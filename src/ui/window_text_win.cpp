#include "ui/window_text_win.h"

#include "text/transcoder.h"

namespace {

const wchar_t* AsWide(const Utf16Text& text) {
    return reinterpret_cast<const wchar_t*>(text.first());
}

}  // namespace

bool SetWindowUtf8Text(HWND window, TextRange text) {
    const Utf16Text wide = Utf8ToUtf16(text.first, text.last);
    return SetWindowTextW(window, AsWide(wide)) != 0;
}

bool SetWindowRequestText(HWND window, const char* text) {
    const TextRange bytes = TextRange::FromCString(text);
    try {
        return SetWindowUtf8Text(window, bytes);
    } catch (const InvalidTextEncoding&) {
        return SetWindowTextA(window, bytes.first) != 0;
    }
}

void AddComboUtf8Entry(HWND combo, TextRange text) {
    const Utf16Text wide = Utf8ToUtf16(text.first, text.last);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(wide)));
}
