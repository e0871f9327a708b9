// zemdriver's read-only views of a dialog: the JSON dump and the screenshot.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/handles_win.h"
#include "protocol/icon/pixel_format.h"
#include "zemdriver.h"

namespace zemdriver {
namespace {

constexpr UINT kTextTimeoutMs = 5000;

// Bytes become a JSON string with every byte mapped to the code point of the same value
// (latin-1), so a reader gets the exact bytes back with .encode("latin-1").
std::string JsonString(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char byte : bytes) {
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out + "\"";
}

// UTF-16 text as a JSON string of the same characters (surrogate pairs stay pairs of escapes).
std::string JsonWide(const std::wstring& text) {
    std::string out = "\"";
    for (wchar_t unit : text) {
        if (unit == L'"' || unit == L'\\') {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit < 0x20 || unit >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
            out += escaped;
        } else {
            out += static_cast<char>(unit);
        }
    }
    return out + "\"";
}

std::string JsonRect(const RECT& rect) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "{\"left\": %ld, \"top\": %ld, \"right\": %ld, \"bottom\": %ld}", rect.left,
                  rect.top, rect.right, rect.bottom);
    return text;
}

std::string JsonBool(bool value) {
    return value ? "true" : "false";
}

std::string JsonHandle(HWND window) {
    return std::to_string(reinterpret_cast<uintptr_t>(window));
}

std::string JsonStyle(HWND window, int index) {
    return std::to_string(static_cast<unsigned long>(GetWindowLongA(window, index)));
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kTextTimeoutMs,
                             &result)) {
        throw DriverError("window does not answer message " + std::to_string(message));
    }
    return static_cast<LRESULT>(result);
}

LRESULT SendBoundedWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kTextTimeoutMs,
                             &result)) {
        throw DriverError("window does not answer message " + std::to_string(message));
    }
    return static_cast<LRESULT>(result);
}

// UTF-16 text in the ANSI code page, as the dialogs' own texts are dumped.
std::string ToAnsi(const wchar_t* text, int length) {
    if (length <= 0) return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring ComboEntryWide(HWND combo, LRESULT index) {
    LRESULT length = SendBoundedWide(combo, CB_GETLBTEXTLEN, index, 0);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> buffer(length + 1);
    LRESULT got = SendBoundedWide(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&buffer[0]));
    return std::wstring(buffer.data(), got > 0 ? got : 0);
}

// Entries of a combo box as "[...]" of JSON strings: in the ANSI code page, or as written (wide).
std::string ComboEntries(HWND combo, bool wide) {
    LRESULT count = SendBounded(combo, CB_GETCOUNT, 0, 0);
    std::string out = "[";
    for (LRESULT i = 0; i < count; ++i) {
        // Wine hands another process's combo text over in UTF-16 even to SendMessageA, so ask
        // for it wide and convert it here.
        const std::wstring text = ComboEntryWide(combo, i);
        out += (i == 0 ? "" : ", ") +
               (wide ? JsonWide(text)
                     : JsonString(ToAnsi(text.data(), static_cast<int>(text.size()))));
    }
    return out + "]";
}

std::string DumpControl(HWND dialog, HWND control) {
    RECT screen{};
    GetWindowRect(control, &screen);
    RECT inDialog = screen;
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&inDialog), 2);
    std::string className = ReadClassName(control);
    std::string out = "{\"id\": " + std::to_string(GetDlgCtrlID(control));
    out += ", \"hwnd\": " + JsonHandle(control);
    out += ", \"class\": " + JsonString(className);
    out += ", \"text\": " + JsonString(ReadWindowText(control));
    out += ", \"wtext\": " + JsonWide(ReadWindowTextWide(control));
    out += ", \"visible\": " + JsonBool(IsWindowVisible(control));
    out += ", \"enabled\": " + JsonBool(IsWindowEnabled(control));
    out += ", \"rect\": " + JsonRect(screen);
    out += ", \"clientRect\": " + JsonRect(inDialog);
    out += ", \"style\": " + JsonStyle(control, GWL_STYLE);
    out += ", \"exstyle\": " + JsonStyle(control, GWL_EXSTYLE);
    if (lstrcmpiA(className.c_str(), "ComboBox") == 0) {
        out += ", \"entries\": " + ComboEntries(control, false);
        out += ", \"wentries\": " + ComboEntries(control, true);
        out += ", \"selection\": " + std::to_string(SendBounded(control, CB_GETCURSEL, 0, 0));
    }
    return out + "}";
}

struct ChildList {
    HWND dialog;
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* list = reinterpret_cast<ChildList*>(param);
    // Only the dialog's own controls: EnumChildWindows also walks grandchildren.
    if (GetAncestor(child, GA_PARENT) == list->dialog) list->children.push_back(child);
    return TRUE;
}

// The owner's class and caption tell the tests which window owns the dialog.
std::string DumpOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner) return "null";
    char caption[512] = "";
    GetWindowTextA(owner, caption, sizeof caption);
    return "{\"hwnd\": " + JsonHandle(owner) + ", \"class\": " + JsonString(ReadClassName(owner)) +
           ", \"caption\": " + JsonString(caption) + ", \"style\": " + JsonStyle(owner, GWL_STYLE) +
           ", \"exstyle\": " + JsonStyle(owner, GWL_EXSTYLE) + "}";
}

// Id of the control that has the keyboard focus in the dialog's thread, or 0.
int FocusedControlId(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return 0;
    if (!info.hwndFocus || !IsChild(dialog, info.hwndFocus)) return 0;
    return GetDlgCtrlID(info.hwndFocus);
}

}  // namespace

std::string ReadClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string ReadWindowText(HWND window) {
    LRESULT length = SendBounded(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return "";
    std::vector<char> buffer(length + 1);
    LRESULT got =
        SendBounded(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]));
    return std::string(buffer.data(), got > 0 ? got : 0);
}

std::wstring ReadWindowTextWide(HWND window) {
    LRESULT length = SendBoundedWide(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> buffer(length + 1);
    LRESULT got =
        SendBoundedWide(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]));
    return std::wstring(buffer.data(), got > 0 ? got : 0);
}

void DumpDialog(HWND dialog) {
    RECT window{};
    RECT client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    RECT clientOnScreen = client;
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&clientOnScreen), 2);
    char caption[4096] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    DWORD_PTR smallIcon = 0;
    SendMessageTimeoutA(dialog, WM_GETICON, ICON_SMALL, 0, SMTO_NORMAL, kTextTimeoutMs, &smallIcon);

    ChildList list{dialog, {}};
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&list));

    std::string out = "{\"hwnd\": " + JsonHandle(dialog);
    out += ", \"pid\": " + std::to_string(processId);
    out += ", \"caption\": " + JsonString(caption);
    out += ", \"wcaption\": " + JsonWide(ReadWindowTextWide(dialog));
    out += ", \"class\": " + JsonString(ReadClassName(dialog));
    out += ", \"style\": " + JsonStyle(dialog, GWL_STYLE);
    out += ", \"exstyle\": " + JsonStyle(dialog, GWL_EXSTYLE);
    out += ", \"rect\": " + JsonRect(window);
    out += ", \"clientRect\": " + JsonRect(client);
    out += ", \"clientScreenRect\": " + JsonRect(clientOnScreen);
    out += ", \"foreground\": " + JsonBool(GetForegroundWindow() == dialog);
    out += ", \"focusId\": " + std::to_string(FocusedControlId(dialog));
    out += ", \"hasSmallIcon\": " + JsonBool(smallIcon != 0);
    out += ", \"owner\": " + DumpOwner(dialog);
    out += ", \"controls\": [";
    for (size_t i = 0; i < list.children.size(); ++i) {
        out += (i == 0 ? "\n  " : ",\n  ") + DumpControl(dialog, list.children[i]);
    }
    out += "]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
}

namespace {

constexpr WORD kBitsPerPixel = kBytesPerPixel * 8;

// A 32-bit bottom-up DIB section selected into its own memory context.
class Canvas {
  public:
    Canvas(HDC reference, int width, int height)
        : width_(width),
          height_(height),
          bitmap_(CreateDib(reference, width, height, &bits_)),
          memory_(reference, bitmap_.get()) {
        if (!memory_ || !bitmap_) throw DriverError("cannot create a bitmap for the screenshot");
    }

    HDC dc() const { return memory_.get(); }
    size_t ByteCount() const { return static_cast<size_t>(width_) * height_ * kBytesPerPixel; }
    const unsigned char* Bits() const { return static_cast<const unsigned char*>(bits_); }
    void Write(const std::string& path) const {
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = width_;
        header.biHeight = height_;
        header.biPlanes = 1;
        header.biBitCount = kBitsPerPixel;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(ByteCount());
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = static_cast<DWORD>(file.bfOffBits + ByteCount());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&header), sizeof header);
        // GDI leaves the fourth byte 0; readers that take it as alpha would see nothing.
        std::vector<unsigned char> pixels(Bits(), Bits() + ByteCount());
        for (size_t i = 3; i < pixels.size(); i += kBytesPerPixel) pixels[i] = 0xFF;
        out.write(reinterpret_cast<const char*>(pixels.data()),
                  static_cast<std::streamsize>(pixels.size()));
        if (!out) throw DriverError("cannot write " + path);
    }

  private:
    static HBITMAP CreateDib(HDC reference, int width, int height, void** bits) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = kBitsPerPixel;
        info.bmiHeader.biCompression = BI_RGB;
        return CreateDIBSection(reference, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    }

    int width_;
    int height_;
    void* bits_ = nullptr;  // written by CreateDib, so declared before the bitmap
    ScopedGdiObject bitmap_;
    MemoryDC memory_;  // after the bitmap: deselects it before it is deleted
};

}  // namespace

void SaveScreenshot(HWND window, const std::string& path, bool fromScreen) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) throw DriverError("cannot read the window rectangle");
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) throw DriverError("the window has no area");
    const WindowDC screen(nullptr);
    Canvas canvas(screen.get(), width, height);
    bool copied = fromScreen ? BitBlt(canvas.dc(), 0, 0, width, height, screen.get(), rect.left,
                                      rect.top, SRCCOPY)
                             : PrintWindow(window, canvas.dc(), 0);
    if (!copied) throw DriverError("cannot copy the window's picture");
    GdiFlush();
    canvas.Write(path);
    std::printf("%d %d\n", width, height);
}

}  // namespace zemdriver
