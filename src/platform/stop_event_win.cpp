#include "platform/stop_event_win.h"

#include <sddl.h>

#include "platform/handles_win.h"

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
    HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, kStopEventWideName);
    if (event != nullptr || GetLastError() != ERROR_FILE_NOT_FOUND) return event;
    return CreateSecuredStopEvent();
}

}  // namespace

HANDLE CreateSecuredStopEvent() {
    PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kStopEventSddl, SDDL_REVISION_1,
                                                              &rawDescriptor, nullptr)) {
        return nullptr;
    }
    const ScopedLocalMemory descriptor(rawDescriptor);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.get(), FALSE};
    return CreateEventW(&attributes, TRUE, FALSE, kStopEventWideName);
}

StopEventWatch::StopEventWatch() : supported_(IsStopEventSupported()) {}

StopEventWatch::~StopEventWatch() {
    // Waits for a callback in flight, which may still post to the window.
    if (wait_ != nullptr) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
}

bool StopEventWatch::IsSignalled() {
    if (!supported_) return false;
    if (event_ == nullptr) {
        event_ = OpenStopEvent();
        RegisterWait();
    }
    return event_ != nullptr && WaitForSingleObject(event_, 0) != WAIT_TIMEOUT;
}

void StopEventWatch::PostOnSignal(HWND window, UINT message) {
    notifyWindow_ = window;
    notifyMessage_ = message;
    RegisterWait();
}

void StopEventWatch::RegisterWait() {
    if (event_ == nullptr || notifyWindow_ == nullptr || wait_ != nullptr) return;
    if (!RegisterWaitForSingleObject(&wait_, event_, OnSignalled, this, INFINITE,
                                     WT_EXECUTEONLYONCE)) {
        wait_ = nullptr;  // the loop still waits on the event itself
    }
}

void CALLBACK StopEventWatch::OnSignalled(void* watch, BOOLEAN timedOut) {
    const auto* self = static_cast<StopEventWatch*>(watch);
    if (!timedOut) PostMessageW(self->notifyWindow_, self->notifyMessage_, 0, 0);
}
