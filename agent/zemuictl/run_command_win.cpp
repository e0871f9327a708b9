// zemuictl run, stop and sessions: the launcher from the command line.

#include <cstdio>
#include <cstdlib>

#include "kit/agent_stop_event_win.h"
#include "kit/json.h"
#include "kit/launcher_win.h"
#include "kit/report_json.h"
#include "kit/request_encoder.h"
#include "kit/request_json.h"
#include "zemuictl/binary_output.h"
#include "zemuictl/commands.h"

namespace {

constexpr int kUsageExit = 2;

// Each status its own exit code, so that a script needs no JSON parser to branch on it.
int ExitCodeOf(zemkit::RunStatus status) {
    switch (status) {
        case zemkit::RunStatus::kReplied:
            return 0;
        case zemkit::RunStatus::kNoReply:
            return 3;
        case zemkit::RunStatus::kTimedOutClosed:
            return 4;
        case zemkit::RunStatus::kTimedOutKilled:
            return 5;
        case zemkit::RunStatus::kNoUserSession:
            return 6;
        case zemkit::RunStatus::kFailedToStart:
            break;
    }
    return 7;
}

std::wstring Wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), size);
    out.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
    return out;
}

int Usage() {
    std::fputs(
        "usage: zemuictl run [--exe PATH] [--timeout SECONDS] "
        "[--session console|ID|user:NAME] FILE\n"
        "  FILE holds the request's bytes, or its JSON description when it ends in .json;\n"
        "  - reads standard input\n",
        stderr);
    return kUsageExit;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int RunRunCommand(const CommandArguments& arguments) {
    zemkit::LaunchSettings settings;
    settings.exe = zemkit::PathBesideThisProgram(L"ZemClientUI.exe");
    std::string file;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--exe" && hasValue) {
            settings.exe = Wide(arguments[++i]);
        } else if (argument == "--timeout" && hasValue) {
            char* end = nullptr;
            const double seconds = std::strtod(arguments[++i].c_str(), &end);
            if (*end != '\0' || !(seconds >= 0 && seconds < 4e6)) return Usage();
            settings.timeoutMs = static_cast<DWORD>(seconds * 1000);
        } else if (argument == "--session" && hasValue) {
            const auto selector = zemkit::ParseSessionSelector(arguments[++i]);
            if (!selector) return Usage();
            settings.session = *selector;
        } else if (file.empty() && (argument == "-" || argument.rfind("--", 0) != 0)) {
            file = argument;
        } else {
            return Usage();
        }
    }
    if (file.empty()) return Usage();
    std::string bytes;
    if (!ReadWholeFile(file, bytes)) {
        std::fprintf(stderr, "zemuictl run: cannot read %s\n", file.c_str());
        return kUsageExit;
    }
    if (EndsWith(file, ".json")) {
        try {
            bytes = zemkit::Encode(zemkit::RequestFromJsonText(bytes));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "zemuictl run: %s\n", error.what());
            return kUsageExit;
        }
    }
    const zemkit::Outcome outcome = zemkit::Launch(bytes, settings);
    std::printf("%s\n", zemkit::OutcomeToJson(outcome).c_str());
    return ExitCodeOf(outcome.status);
}

int RunStopCommand(const CommandArguments& arguments) {
    if (!arguments.empty()) return Usage();
    std::vector<std::string> notes;
    zemkit::AgentStopEvent& event = zemkit::AgentStopEvent::Instance();
    const bool signalled = event.Ensure(notes) && event.Signal();
    for (const std::string& note : notes) std::fprintf(stderr, "zemuictl stop: %s\n", note.c_str());
    std::puts(signalled ? "signalled" : "failed");
    return signalled ? 0 : 1;
}

int RunSessionsCommand(const CommandArguments&) {
    std::printf("this process %s\n", zemkit::RunsAsAgent()
                                         ? "may start prompts in other sessions"
                                         : "starts prompts as itself, in its own session");
    std::vector<zemkit::SessionInfo> sessions;
    DWORD error = 0;
    if (!zemkit::ListSessions(sessions, error)) {
        std::printf("the sessions cannot be listed: WTSEnumerateSessionsExW failed, error %lu\n",
                    static_cast<unsigned long>(error));
        return 1;
    }
    static const char* const kStates[] = {"active", "connected", "disconnected", "other"};
    for (const zemkit::SessionInfo& session : sessions) {
        std::printf("%u %s %s %s%s%s\n", session.id, kStates[static_cast<int>(session.state)],
                    session.name.c_str(), session.domain.c_str(),
                    session.domain.empty() ? "" : "\\",
                    (session.user + (session.locked ? " (locked)" : "")).c_str());
    }
    return 0;
}
