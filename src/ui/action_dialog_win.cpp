#include "ui/action_dialog_win.h"

#include <vector>

#include "protocol/icon/pixel_format.h"
#include "ui/dialog_loop_win.h"
#include "ui/layout_direction_win.h"
#include "ui/picture_layout.h"

ActionDialog::ActionDialog(const ActionDialogSettings& settings)
    : showInTaskbar_(settings.showInTaskbar),
      moduleInstance_(GetModuleHandleW(nullptr)),
      imageWidth_(settings.imagePixels != nullptr ? settings.imageWidth : 0),
      imageHeight_(settings.imagePixels != nullptr ? settings.imageHeight : 0),
      imagePixels_(settings.imagePixels),
      sessionEnd_(settings.sessionEnd) {}

ActionDialog::~ActionDialog() {
    if (window_ != nullptr && IsWindow(window_)) SendMessageW(window_, kCloseDialogMessage, 0, 0);
}

void ActionDialog::Run() {
    const LocalizationFailureCode code = PrepareRun();
    if (code != kLocalizationSucceeded) {
        RecordLocalizationFailure(code);
        return;
    }
    ChooseLayoutDirection();
    DialogRunSettings run;
    run.instance = moduleInstance_;
    run.templateId = TemplateId();
    run.procedure = Procedure();
    run.showInTaskbar = showInTaskbar_;
    run.icons = &windowIcons_;
    run.stopEvent = &stopEvent_;
    run.onceStopFlag = &onceStopFlag_;
    run.window = &window_;
    RunDialogLoop(run);
}

void ActionDialog::RecordFailure(int code, const char* text) {
    failureCode_ = code;
    failureText_ = text != nullptr ? text : "";
}

void ActionDialog::RecordLocalizationFailure(LocalizationFailureCode code) {
    RecordFailure(code, literalTracker_.literal());
}

void ActionDialog::ComposeImageBitmap(HWND dialogWindow) {
    if (imageWidth_ == 0 || imageHeight_ == 0 || imagePixels_ == nullptr) return;
    WindowDC windowDc(dialogWindow);
    HDC dc = windowDc.get();
    if (dc == nullptr) return;
    // Composed again into the same bitmap when the colours change: an open preview paints it too.
    if (!imageBitmap_) {
        imageBitmap_.Reset(CreateCompatibleBitmap(dc, static_cast<int>(imageWidth_),
                                                  static_cast<int>(imageHeight_)));
    }
    if (!imageBitmap_) return;
    MemoryDC memory(dc, imageBitmap_.get());
    if (memory.get() == nullptr) return;
    SetLayout(memory.get(), 0);  // drawn as it is, whatever the window's direction
    // The request's pixels keep their alpha for the next composition.
    std::vector<uint8_t> blended(imagePixels_, imagePixels_ + static_cast<size_t>(imageWidth_) *
                                                                  imageHeight_ * kBytesPerPixel);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    BlendOverColor(blended.data(), imageWidth_, imageHeight_, GetRValue(face), GetGValue(face),
                   GetBValue(face));
    for (uint32_t y = 0; y < imageHeight_; ++y) {
        for (uint32_t x = 0; x < imageWidth_; ++x) {
            const uint8_t* pixel =
                blended.data() + (static_cast<size_t>(y) * imageWidth_ + x) * kBytesPerPixel;
            SetPixel(memory.get(), static_cast<int>(x), static_cast<int>(y),
                     RGB(pixel[0], pixel[1], pixel[2]));
        }
    }
}

void ActionDialog::LoadWindowIcon(const char* imagePath) {
    windowIcons_ = LoadWindowIconsFromFile(imagePath);
}

void ActionDialog::ReportClosed() {
    if (sessionEnd_ != nullptr) sessionEnd_->SessionEnding();
}
