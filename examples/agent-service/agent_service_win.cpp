// A sample agent: a Windows service that asks the signed-in user before a restart. On start, and
// on the control code 128, it shows a restart prompt through the kit and logs the outcome; on
// stop it signals the stop event, so an open prompt closes with CLOSED, and waits for its
// prompts to be logged. `zem_agent_service --console` runs the same code without the service
// manager: it shows one prompt, logs it and ends.
//
//   sc create ZemAgentSample binPath= "C:\Program Files\ZemClientUI\zem_agent_service.exe"
//   sc start ZemAgentSample    sc control ZemAgentSample 128    sc stop ZemAgentSample

#include <windows.h>

#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "kit/agent_stop_event_win.h"
#include "kit/launcher_win.h"
#include "kit/request_encoder.h"
#include "outcome_log_win.h"

namespace {

wchar_t kServiceName[] = L"ZemAgentSample";
constexpr DWORD kShowPromptControl = 128;

SERVICE_STATUS_HANDLE statusHandle = nullptr;
std::mutex promptsLock;
std::vector<std::thread> prompts;

std::string RestartPrompt() {
    zemkit::ActionUi request;
    request.title = "Restart required";
    request.message =
        "Updates were installed that need a restart. Save your work, then restart "
        "now or choose when to be reminded.";
    request.buttonText = "Restart Now";
    request.cancel = true;
    request.remindSeconds = 3600;
    request.maxRemindSeconds = 86400;
    return zemkit::Encode(request);
}

void ShowPrompt(const char* why) {
    zemkit::LaunchSettings settings;
    settings.exe = zemkit::PathBesideThisProgram(L"ZemClientUI.exe");
    LogOutcome(why, zemkit::Launch(RestartPrompt(), settings));
}

void StartPrompt(const char* why) {
    std::lock_guard<std::mutex> guard(promptsLock);
    prompts.emplace_back(ShowPrompt, why);
}

void ReportStatus(DWORD state, DWORD waitHintMs = 0) {
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status.dwWaitHint = waitHintMs;
    SetServiceStatus(statusHandle, &status);
}

// Every open prompt closes with CLOSED; the service stops once each is logged.
void StopService() {
    ReportStatus(SERVICE_STOP_PENDING, 15000);
    zemkit::AgentStopEvent::Instance().Signal();
    std::vector<std::thread> running;
    {
        std::lock_guard<std::mutex> guard(promptsLock);
        running.swap(prompts);
    }
    for (std::thread& prompt : running) prompt.join();
    ReportStatus(SERVICE_STOPPED);
}

DWORD WINAPI HandleControl(DWORD control, DWORD, void*, void*) {
    switch (control) {
        case SERVICE_CONTROL_STOP:
            std::thread(StopService).detach();
            return NO_ERROR;
        case kShowPromptControl:
            StartPrompt("control");
            return NO_ERROR;
        case SERVICE_CONTROL_INTERROGATE:
            return NO_ERROR;
        default:
            return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD, wchar_t**) {
    statusHandle = RegisterServiceCtrlHandlerExW(kServiceName, HandleControl, nullptr);
    if (statusHandle == nullptr) return;
    // Before the first prompt: the event users may only wait on must be the agent's own.
    std::vector<std::string> notes;
    zemkit::AgentStopEvent::Instance().Ensure(notes);
    ReportStatus(SERVICE_RUNNING);
    StartPrompt("start");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--console") == 0) {
        std::vector<std::string> notes;
        zemkit::AgentStopEvent::Instance().Ensure(notes);
        ShowPrompt("console");
        return 0;
    }
    SERVICE_TABLE_ENTRYW services[] = {{kServiceName, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherW(services) ? 0 : 1;
}
