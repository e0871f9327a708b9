#include "ui/layout_direction_win.h"

#include <cstring>
#include <vector>

#include "format/reading_direction.h"

namespace {

bool rightToLeft = false;

// Where an extended dialog template (DIALOGEX) keeps its extended style; a plain one keeps it
// right after the style.
constexpr size_t kExtendedTemplateExStyleOffset = 8;
constexpr size_t kPlainTemplateExStyleOffset = 4;
constexpr WORD kExtendedTemplateSignature = 0xFFFF;
// RT_DIALOG, whose macro is ANSI or wide by the build settings.
constexpr WORD kDialogResourceType = 5;

// A copy of the template whose dialog is created mirrored: the controls inherit the layout, so
// their positions are read from the right edge.
std::vector<BYTE> MirroredTemplate(const BYTE* bytes, DWORD size) {
    std::vector<BYTE> copy(bytes, bytes + size);
    WORD signature = 0;
    if (size >= 4) std::memcpy(&signature, copy.data() + 2, sizeof signature);
    const size_t offset = signature == kExtendedTemplateSignature ? kExtendedTemplateExStyleOffset
                                                                  : kPlainTemplateExStyleOffset;
    if (size < offset + sizeof(DWORD)) return copy;
    DWORD exStyle = 0;
    std::memcpy(&exStyle, copy.data() + offset, sizeof exStyle);
    exStyle |= WS_EX_LAYOUTRTL;
    std::memcpy(copy.data() + offset, &exStyle, sizeof exStyle);
    return copy;
}

bool IsTextControl(HWND control) {
    wchar_t className[16] = L"";
    GetClassNameW(control, className, static_cast<int>(sizeof className / sizeof className[0]));
    return lstrcmpiW(className, L"Edit") == 0 || lstrcmpiW(className, L"Static") == 0;
}

BOOL CALLBACK ReadRightToLeft(HWND control, LPARAM) {
    if (IsTextControl(control)) {
        SetWindowLongPtrW(control, GWL_EXSTYLE,
                          GetWindowLongPtrW(control, GWL_EXSTYLE) | WS_EX_RTLREADING);
    }
    return TRUE;
}

}  // namespace

void ChooseLayoutDirection() {
    rightToLeft = IsRightToLeftTranslation();
}

HWND CreateDialogInLayoutDirection(HINSTANCE instance, int resourceId, HWND owner,
                                   DLGPROC procedure) {
    // Unicode windows: an ANSI one would pass its caption through the system code page.
    if (!rightToLeft) {
        return CreateDialogParamW(instance, MAKEINTRESOURCEW(resourceId), owner, procedure, 0);
    }
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(resourceId),
                                   MAKEINTRESOURCEW(kDialogResourceType));
    HGLOBAL loaded = resource != nullptr ? LoadResource(instance, resource) : nullptr;
    const auto* bytes =
        static_cast<const BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (bytes == nullptr) return nullptr;
    const std::vector<BYTE> mirrored = MirroredTemplate(bytes, SizeofResource(instance, resource));
    return CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(mirrored.data()),
                                      owner, procedure, 0);
}

void ApplyReadingOrder(HWND dialog) {
    if ((GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) == 0) return;
    EnumChildWindows(dialog, ReadRightToLeft, 0);
}

void PreserveBitmapOrientation(HDC dc) {
    const DWORD layout = GetLayout(dc);
    if (layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0) {
        SetLayout(dc, layout | LAYOUT_BITMAPORIENTATIONPRESERVED);
    }
}
