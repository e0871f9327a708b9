#include "platform/stop_event_win.h"

namespace {

constexpr DWORD kFirstVersionWithStopEvent = 6;

bool IsStopEventSupported() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           version.dwMajorVersion >= kFirstVersionWithStopEvent;
}

// Asking for full access would fail on a secured event and hide every stop.
HANDLE OpenStopEvent() {
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, kStopEventName);
    if (event != nullptr || GetLastError() != ERROR_FILE_NOT_FOUND) return event;
    return CreateEventA(nullptr, TRUE, FALSE, kStopEventName);
}

}  // namespace

StopEventWatch::StopEventWatch() : supported_(IsStopEventSupported()) {}

bool StopEventWatch::IsSignalled() {
    if (!supported_) return false;
    if (event_ == nullptr) event_ = OpenStopEvent();
    return event_ != nullptr && WaitForSingleObject(event_, 0) != WAIT_TIMEOUT;
}
