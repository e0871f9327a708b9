#include "ui/window_icons_win.h"

#include "resource.h"

namespace {

// LoadImage picks the group's image closest to the size asked for and scales it to that size.
HICON LoadIconSized(HINSTANCE instance, const char* path, int widthMetric, int heightMetric) {
    const int width = GetSystemMetrics(widthMetric);
    const int height = GetSystemMetrics(heightMetric);
    if (path != nullptr) {
        return static_cast<HICON>(
            LoadImageA(nullptr, path, IMAGE_ICON, width, height, LR_LOADFROMFILE));
    }
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON),
                                         IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

void SetWindowIcon(HWND window, WPARAM which, const ScopedIcon& icon) {
    if (icon) SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.get()));
}

}  // namespace

WindowIcons LoadWindowIconsFromFile(const char* path) {
    WindowIcons icons;
    if (path == nullptr) return icons;
    icons.big.Reset(LoadIconSized(nullptr, path, SM_CXICON, SM_CYICON));
    icons.small.Reset(LoadIconSized(nullptr, path, SM_CXSMICON, SM_CYSMICON));
    return icons;
}

void LoadMissingApplicationIcons(HINSTANCE instance, WindowIcons& icons) {
    if (!icons.big) icons.big.Reset(LoadIconSized(instance, nullptr, SM_CXICON, SM_CYICON));
    if (!icons.small) {
        icons.small.Reset(LoadIconSized(instance, nullptr, SM_CXSMICON, SM_CYSMICON));
    }
}

void SetWindowIcons(HWND window, const WindowIcons& icons) {
    SetWindowIcon(window, ICON_BIG, icons.big);
    SetWindowIcon(window, ICON_SMALL, icons.small);
}
