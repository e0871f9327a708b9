#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/accessible_description_win.h"
#include "platform/handles_win.h"
#include "ui/progress_dialog_win.h"

namespace {

class RecordedDescriptions : public AccessibleDescriptions {
  public:
    void Describe(HWND window, const std::wstring& text) override {
        described.emplace_back(window, text);
    }
    void Forget(HWND window) override { forgotten.push_back(window); }

    std::vector<std::pair<HWND, std::wstring>> described;
    std::vector<HWND> forgotten;
};

// A high-contrast face the test switches to while the dialog runs; the colour change comes from
// this process, since Wine passes none from another one.
constexpr COLORREF kContrastFace = RGB(0, 0, 128);

struct Observed {
    HWND window = nullptr;
    COLORREF faceAtStart = 0;
    COLORREF pictureAtStart = 0;
    COLORREF pictureAfterChange = 0;
};

const ActionDialog* runningDialog = nullptr;
Observed observed;

COLORREF TopLeftPixel(HBITMAP bitmap) {
    const WindowDC screen(nullptr);
    MemoryDC memory(screen.get(), bitmap);
    return GetPixel(memory.get(), 0, 0);
}

void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    observed.window = runningDialog->GetWindow();
    observed.faceAtStart = GetSysColor(COLOR_BTNFACE);
    observed.pictureAtStart = TopLeftPixel(runningDialog->GetImageBitmap());
    const int element = COLOR_BTNFACE;
    const COLORREF previous = observed.faceAtStart;
    SetSysColors(1, &element, &kContrastFace);
    SendMessageW(observed.window, WM_SYSCOLORCHANGE, 0, 0);
    observed.pictureAfterChange = TopLeftPixel(runningDialog->GetImageBitmap());
    SetSysColors(1, &element, &previous);
    PostMessageW(observed.window, WM_CLOSE, 0, 0);
}

TEST(ProgressDialogRun, DescribesItsWindowAndBlendsThePictureOverTheCurrentFace) {
    RecordedDescriptions descriptions;
    const ScopedAccessibleDescriptions replacement(descriptions);
    std::vector<uint8_t> transparent(2 * 2 * 4, 0);
    ProgressDialogSettings settings;
    settings.title = "t";
    settings.message = "the message";
    settings.common.imagePixels = transparent.data();
    settings.common.imageWidth = 2;
    settings.common.imageHeight = 2;
    {
        ActionProgressDialog dialog(settings);
        runningDialog = &dialog;
        observed = {};
        SetTimer(nullptr, 0, 10, InspectAndClose);
        dialog.Run();
        runningDialog = nullptr;
    }

    ASSERT_NE(observed.window, nullptr);
    ASSERT_EQ(descriptions.described.size(), 1u);
    EXPECT_EQ(descriptions.described[0].first, observed.window);
    EXPECT_EQ(descriptions.described[0].second, L"the message");
    EXPECT_EQ(descriptions.forgotten, std::vector<HWND>{observed.window});
    EXPECT_EQ(observed.pictureAtStart, observed.faceAtStart);
    EXPECT_EQ(observed.pictureAfterChange, kContrastFace);
    EXPECT_EQ(transparent, std::vector<uint8_t>(2 * 2 * 4, 0));  // the request's pixels stay
}

}  // namespace
