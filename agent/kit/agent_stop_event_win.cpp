#include "kit/agent_stop_event_win.h"

#include <aclapi.h>
#include <sddl.h>

#include "platform/stop_event_win.h"

namespace zemkit {

namespace {

std::string SidText(PSID sid) {
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text)) return "";
    const ScopedLocalMemory owned(text);
    return text;
}

// The SID that owns objects this process creates, as text; empty when it cannot be read.
std::string OwnSidText() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return "";
    const ScopedKernelHandle token(rawToken);
    char buffer[256];
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenOwner, buffer, sizeof buffer, &size)) return "";
    return SidText(reinterpret_cast<TOKEN_OWNER*>(buffer)->Owner);
}

std::string OwnerSidText(HANDLE event) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
    if (GetSecurityInfo(event, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &rawDescriptor) != ERROR_SUCCESS) {
        return "";
    }
    const ScopedLocalMemory descriptor(rawDescriptor);
    return SidText(owner);
}

}  // namespace

AgentStopEvent& AgentStopEvent::Instance() {
    static AgentStopEvent instance;
    return instance;
}

bool AgentStopEvent::Ensure(std::vector<std::string>& notes) {
    std::lock_guard<std::mutex> guard(lock_);
    if (event_) return true;
    event_.Reset(CreateSecuredStopEvent());
    const DWORD created = GetLastError();
    if (event_ && created == ERROR_ALREADY_EXISTS) {
        const std::string owner = OwnerSidText(event_.get());
        if (!owner.empty() && owner != OwnSidText()) {
            notes.push_back("the stop event already exists, owned by " + owner +
                            ", not by this process's user: check who created it");
        }
    }
    if (!event_) {
        // Made by someone who lets this process only wait: dialogs still close on their stop.
        event_.Reset(OpenEventW(SYNCHRONIZE, FALSE, kStopEventWideName));
        notes.push_back(event_ ? "the stop event exists and this process may not signal it"
                               : "the stop event can be neither created nor opened, error " +
                                     std::to_string(created));
    }
    return static_cast<bool>(event_);
}

void AgentStopEvent::DialogOpening() {
    std::lock_guard<std::mutex> guard(lock_);
    if (openDialogs_++ == 0 && event_) ResetEvent(event_.get());
}

void AgentStopEvent::DialogClosed() {
    std::lock_guard<std::mutex> guard(lock_);
    --openDialogs_;
}

bool AgentStopEvent::SignalIfOnlyDialog() {
    std::lock_guard<std::mutex> guard(lock_);
    return openDialogs_ == 1 && event_ && SetEvent(event_.get());
}

bool AgentStopEvent::Signal() {
    std::lock_guard<std::mutex> guard(lock_);
    return event_ && SetEvent(event_.get());
}

}  // namespace zemkit
