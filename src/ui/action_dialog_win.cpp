#include "ui/action_dialog_win.h"

#include <io.h>

#include <cstdio>

#include "ui/picture_layout.h"
#include "ui/pixel_format.h"

namespace {

constexpr DWORD kNtPlatform = VER_PLATFORM_WIN32_NT;
constexpr DWORD kFirstVersionWithStopEvent = 6;
constexpr char kClosedReply[] = "CLOSED\n";
constexpr int kStandardOutputDescriptor = 1;

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
    : showInTaskbar(taskbar),
      moduleInstance(GetModuleHandleA(nullptr)),
      outputLock(lock),
      repliedFlag(replied),
      stopEventSupported(IsStopEventSupported()) {}

ActionDialog::~ActionDialog() {
    if (window != nullptr && IsWindow(window)) SendMessageA(window, kCloseDialogMessage, 0, 0);
}

void ActionDialog::RecordFailure(int code, const char* text) {
    failureCode = code;
    failureText = text != nullptr ? text : "";
}

void ActionDialog::SetImage(uint8_t* pixels, uint32_t width, uint32_t height) {
    imagePixels = pixels;
    imageWidth = width;
    imageHeight = height;
}

void ActionDialog::ComposeImageBitmap(HWND dialogWindow) {
    if (imageWidth == 0 || imageHeight == 0 || imagePixels == nullptr || imageBitmap) return;
    WindowDC windowDc(dialogWindow);
    HDC dc = windowDc.get();
    if (dc == nullptr) return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    BlendOverColor(imagePixels, imageWidth, imageHeight, GetRValue(face), GetGValue(face),
                   GetBValue(face));
    imageBitmap.Reset(
        CreateCompatibleBitmap(dc, static_cast<int>(imageWidth), static_cast<int>(imageHeight)));
    if (!imageBitmap) return;
    MemoryDC memory(dc, imageBitmap.get());
    if (memory.get() == nullptr) return;
    for (uint32_t y = 0; y < imageHeight; ++y) {
        for (uint32_t x = 0; x < imageWidth; ++x) {
            const uint8_t* pixel =
                imagePixels + (static_cast<size_t>(y) * imageWidth + x) * kBytesPerPixel;
            SetPixel(memory.get(), static_cast<int>(x), static_cast<int>(y),
                     RGB(pixel[0], pixel[1], pixel[2]));
        }
    }
}

void ActionDialog::LoadWindowIcon(const char* imagePath) {
    if (imagePath == nullptr) return;
    windowIcon = ScopedIcon(
        static_cast<HICON>(LoadImageA(nullptr, imagePath, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                      GetSystemMetrics(SM_CYICON), LR_LOADFROMFILE)));
}

void ActionDialog::ReportClosed() {
    EnterCriticalSection(outputLock);
    if (!*repliedFlag) {
        *repliedFlag = true;
        _write(kStandardOutputDescriptor, kClosedReply, sizeof kClosedReply - 1);
        std::fflush(stdout);
        std::fclose(stdout);
    }
    LeaveCriticalSection(outputLock);
}

bool ActionDialog::IsStopRequested() {
    if (!stopEventSupported) return false;
    if (stopEvent == nullptr) stopEvent = OpenStopEvent();
    return stopEvent != nullptr && WaitForSingleObject(stopEvent, 0) != WAIT_TIMEOUT;
}
