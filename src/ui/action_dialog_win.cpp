#include "ui/action_dialog_win.h"

#include <vector>

#include "protocol/reply_output_win.h"
#include "ui/layout_direction_win.h"
#include "ui/picture_layout.h"
#include "ui/pixel_format.h"
#include "ui/window_services_win.h"

namespace {

constexpr DWORD kNtPlatform = VER_PLATFORM_WIN32_NT;
constexpr DWORD kFirstVersionWithStopEvent = 6;

bool IsStopEventSupported() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == kNtPlatform &&
           version.dwMajorVersion >= kFirstVersionWithStopEvent;
}

// Waiting is all this process does with the event, and an agent that secures it may allow no more:
// asking for full access would then fail and hide every stop. Only a missing event is created.
HANDLE OpenStopEvent() {
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, kStopEventName);
    if (event != nullptr || GetLastError() != ERROR_FILE_NOT_FOUND) return event;
    return CreateEventA(nullptr, TRUE, FALSE, kStopEventName);
}

}  // namespace

ActionDialog::ActionDialog(CRITICAL_SECTION* lock, bool* replied, bool taskbar)
    : showInTaskbar_(taskbar),
      moduleInstance_(GetModuleHandleA(nullptr)),
      outputLock_(lock),
      repliedFlag_(replied),
      stopEventSupported_(IsStopEventSupported()) {}

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
    RunDialogLoop(this, TemplateId(), Procedure(), onceStopFlag_);
}

void ActionDialog::RecordFailure(int code, const char* text) {
    failureCode_ = code;
    failureText_ = text != nullptr ? text : "";
}

void ActionDialog::RecordLocalizationFailure(LocalizationFailureCode code) {
    RecordFailure(code, literalTracker_.literal());
}

void ActionDialog::SetImage(uint8_t* pixels, uint32_t width, uint32_t height) {
    imagePixels_ = pixels;
    imageWidth_ = width;
    imageHeight_ = height;
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
    if (imagePath == nullptr) return;
    windowIcon_ = ScopedIcon(
        static_cast<HICON>(LoadImageA(nullptr, imagePath, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                      GetSystemMetrics(SM_CYICON), LR_LOADFROMFILE)));
}

void ActionDialog::ReportClosed() {
    WriteOneReply(*outputLock_, *repliedFlag_, "CLOSED");
}

bool ActionDialog::IsStopRequested() {
    if (!stopEventSupported_) return false;
    if (stopEvent_ == nullptr) stopEvent_ = OpenStopEvent();
    return stopEvent_ != nullptr && WaitForSingleObject(stopEvent_, 0) != WAIT_TIMEOUT;
}
