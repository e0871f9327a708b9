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
    return SetWindowTextW(window, RequestTextToWide(text).c_str()) != 0;
}

std::wstring RequestTextToWide(const char* text) {
    const TextRange bytes = TextRange::FromCString(text);
    try {
        const Utf16Text wide = Utf8ToUtf16(bytes.first, bytes.last);
        return std::wstring(AsWide(wide), wide.size());
    } catch (const InvalidTextEncoding&) {
        // Not UTF-8: an agent that writes its system code page.
        const int length = static_cast<int>(bytes.size());
        const int units = MultiByteToWideChar(CP_ACP, 0, bytes.first, length, nullptr, 0);
        std::wstring wide(static_cast<size_t>(units > 0 ? units : 0), L'\0');
        if (units > 0) MultiByteToWideChar(CP_ACP, 0, bytes.first, length, wide.data(), units);
        return wide;
    }
}

void AddComboUtf8Entry(HWND combo, TextRange text) {
    const Utf16Text wide = Utf8ToUtf16(text.first, text.last);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(wide)));
}
