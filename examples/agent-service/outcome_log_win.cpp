#include "outcome_log_win.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

#include "kit/launcher_win.h"
#include "kit/report_json.h"
#include "platform/handles_win.h"

namespace {

constexpr wchar_t kEventSource[] = L"ZemAgentSample";
std::mutex logLock;

std::string UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

void ReportToEventLog(const std::string& line, bool failed) {
    HANDLE source = RegisterEventSourceW(nullptr, kEventSource);
    if (source == nullptr) return;  // no event log here
    const char* strings[] = {line.c_str()};
    ReportEventA(source, failed ? EVENTLOG_WARNING_TYPE : EVENTLOG_INFORMATION_TYPE, 0, 1, nullptr,
                 1, 0, strings, nullptr);
    DeregisterEventSource(source);
}

}  // namespace

std::wstring LogPath() {
    return zemkit::PathBesideThisProgram(L"agent-service.log");
}

void LogOutcome(const std::string& what, const zemkit::Outcome& outcome) {
    const std::string line = UtcNow() + " " + what + " " + zemkit::OutcomeToJson(outcome) + "\n";
    std::lock_guard<std::mutex> guard(logLock);
    const ScopedKernelHandle file(CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                              nullptr));
    DWORD written = 0;
    if (file)
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ReportToEventLog(line, outcome.status != zemkit::RunStatus::kReplied);
}
