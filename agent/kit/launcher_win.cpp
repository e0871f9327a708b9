// Launching reads top-down in the order Windows wants it: session and token, environment, pipes,
// attribute list, suspended process, job, resume; then the request, the closed input, the reply.

#include "kit/launcher_win.h"

#include "kit/agent_stop_event_win.h"
#include "kit/reply_reader_win.h"
#include "kit/system_library_win.h"
#include "platform/handles_win.h"

namespace zemkit {

namespace {

wchar_t kDesktop[] = L"winsta0\\default";

using QueryUserToken = BOOL(WINAPI*)(ULONG, HANDLE*);
using CreateEnvironment = BOOL(WINAPI*)(void**, HANDLE, BOOL);
using DestroyEnvironment = BOOL(WINAPI*)(void*);

struct LaunchFailure {
    RunStatus status;
    DWORD error;
    std::string note;
};

// The two ends of the child's standard handles; only the child's ends are inheritable.
struct Pipes {
    ScopedKernelHandle childInput, requestWriter;
    ScopedKernelHandle replyReader, childOutput;
};

// The request pipe holds the whole request, so that writing it never waits on the product: only
// the reply is waited for, and that against the deadline.
Pipes CreatePipes(size_t requestSize) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    Pipes pipes;
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, static_cast<DWORD>(requestSize + 1)))
        throw LaunchFailure{RunStatus::kFailedToStart, GetLastError(), "CreatePipe"};
    pipes.childInput.Reset(read);
    pipes.requestWriter.Reset(write);
    if (!CreatePipe(&read, &write, &inheritable, 0))
        throw LaunchFailure{RunStatus::kFailedToStart, GetLastError(), "CreatePipe"};
    pipes.replyReader.Reset(read);
    pipes.childOutput.Reset(write);
    SetHandleInformation(pipes.requestWriter.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(pipes.replyReader.get(), HANDLE_FLAG_INHERIT, 0);
    return pipes;
}

// The user's token in the chosen session; null when the caller starts the prompt as itself.
ScopedKernelHandle UserToken(const SessionSelector& selector, std::vector<std::string>& notes) {
    if (!RunsAsAgent()) return ScopedKernelHandle();
    std::vector<SessionInfo> sessions;
    DWORD error = ERROR_SUCCESS;
    if (!ListSessions(sessions, error)) {
        throw LaunchFailure{RunStatus::kFailedToStart, error, "WTSEnumerateSessionsExW"};
    }
    const SessionChoice choice = ChooseSession(sessions, selector);
    if (!choice.sessionId) throw LaunchFailure{RunStatus::kNoUserSession, 0, choice.note};
    if (!choice.note.empty()) notes.push_back(choice.note);
    const auto queryUserToken =
        SystemFunction<QueryUserToken>(L"wtsapi32.dll", "WTSQueryUserToken");
    HANDLE token = nullptr;
    if (queryUserToken == nullptr || !queryUserToken(*choice.sessionId, &token)) {
        throw LaunchFailure{RunStatus::kFailedToStart, GetLastError(), "WTSQueryUserToken"};
    }
    return ScopedKernelHandle(token);
}

// The user's own environment, as the shell would give it to the user's programs.
class EnvironmentBlock {
  public:
    explicit EnvironmentBlock(HANDLE token) {
        if (token == nullptr) return;
        const auto create =
            SystemFunction<CreateEnvironment>(L"userenv.dll", "CreateEnvironmentBlock");
        if (create == nullptr || !create(&block_, token, FALSE)) {
            throw LaunchFailure{RunStatus::kFailedToStart, GetLastError(),
                                "CreateEnvironmentBlock"};
        }
    }
    ~EnvironmentBlock() {
        const auto destroy =
            SystemFunction<DestroyEnvironment>(L"userenv.dll", "DestroyEnvironmentBlock");
        if (block_ != nullptr && destroy != nullptr) destroy(block_);
    }
    EnvironmentBlock(const EnvironmentBlock&) = delete;
    EnvironmentBlock& operator=(const EnvironmentBlock&) = delete;
    void* get() const { return block_; }

  private:
    void* block_ = nullptr;
};

// A list that lets the child inherit exactly the two pipe ends, nothing else this process holds.
class InheritList {
  public:
    explicit InheritList(HANDLE* handles, size_t count) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        buffer_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) {
            throw LaunchFailure{RunStatus::kFailedToStart, GetLastError(), "attribute list"};
        }
        list_ = list;
        if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles,
                                       count * sizeof(HANDLE), nullptr, nullptr)) {
            const DWORD error = GetLastError();
            DeleteProcThreadAttributeList(list_);
            throw LaunchFailure{RunStatus::kFailedToStart, error, "attribute list"};
        }
    }
    ~InheritList() { DeleteProcThreadAttributeList(list_); }
    InheritList(const InheritList&) = delete;
    InheritList& operator=(const InheritList&) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

  private:
    std::vector<char> buffer_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

struct StartedProcess {
    ScopedKernelHandle process;
    ScopedKernelHandle thread;
    ScopedKernelHandle job;
};

StartedProcess StartSuspended(HANDLE token, const std::wstring& exe, Pipes& pipes) {
    const EnvironmentBlock environment(token);
    HANDLE inherited[] = {pipes.childInput.get(), pipes.childOutput.get()};
    InheritList inheritList(inherited, 2);
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.lpDesktop = kDesktop;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = pipes.childInput.get();
    startup.StartupInfo.hStdOutput = pipes.childOutput.get();
    startup.lpAttributeList = inheritList.get();
    std::wstring commandLine = L"\"" + exe + L"\"";
    const DWORD flags =
        CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT | CREATE_UNICODE_ENVIRONMENT;
    PROCESS_INFORMATION info = {};
    const BOOL started =
        token != nullptr
            ? CreateProcessAsUserW(token, exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                   flags, environment.get(), nullptr, &startup.StartupInfo, &info)
            : CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                             nullptr, nullptr, &startup.StartupInfo, &info);
    if (!started) throw LaunchFailure{RunStatus::kFailedToStart, GetLastError(), "CreateProcess"};
    StartedProcess child{ScopedKernelHandle(info.hProcess), ScopedKernelHandle(info.hThread), {}};
    // In a job that ends it with this process: no prompt outlives a launcher that died.
    child.job.Reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!child.job ||
        !SetInformationJobObject(child.job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits) ||
        !AssignProcessToJobObject(child.job.get(), child.process.get())) {
        const DWORD error = GetLastError();
        TerminateProcess(child.process.get(), 1);
        throw LaunchFailure{RunStatus::kFailedToStart, error, "job object"};
    }
    ResumeThread(child.thread.get());
    return child;
}

// Writes the request and closes the pipe: the product reads on until its input ends.
void SendRequest(Pipes& pipes, const std::string& request) {
    DWORD written = 0;
    WriteFile(pipes.requestWriter.get(), request.data(), static_cast<DWORD>(request.size()),
              &written, nullptr);
    pipes.requestWriter.Reset();
}

// After the reply the product lingers for two seconds and exits; a grace period bounds the wait.
void CollectExit(const StartedProcess& child, DWORD waitMs, Outcome& outcome) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(child.process.get(), waitMs) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(child.process.get(), &code)) {
        outcome.exitCode = NormalizeExitCode(static_cast<int32_t>(code));
    }
}

void TakeReply(const std::string& line, Outcome& outcome) {
    outcome.replyLine = line.substr(0, line.find('\n'));
    outcome.reply = ParseReply(*outcome.replyLine);
}

class OpenDialogScope {
  public:
    OpenDialogScope() { AgentStopEvent::Instance().DialogOpening(); }
    ~OpenDialogScope() { AgentStopEvent::Instance().DialogClosed(); }
    OpenDialogScope(const OpenDialogScope&) = delete;
    OpenDialogScope& operator=(const OpenDialogScope&) = delete;
};

void RunDialog(const std::string& request, const LaunchSettings& settings, Outcome& outcome) {
    const ScopedKernelHandle token = UserToken(settings.session, outcome.notes);
    Pipes pipes = CreatePipes(request.size());
    const OpenDialogScope open;
    const StartedProcess child = StartSuspended(token.get(), settings.exe, pipes);
    pipes.childInput.Reset();
    pipes.childOutput.Reset();
    ReplyReader reader(pipes.replyReader.get());
    SendRequest(pipes, request);
    if (reader.Wait(settings.timeoutMs.value_or(INFINITE))) {
        outcome.status = reader.HasLine() ? RunStatus::kReplied : RunStatus::kNoReply;
        if (reader.HasLine()) TakeReply(reader.Line(), outcome);
        CollectExit(child, settings.graceMs, outcome);
        return;
    }
    // Past the deadline. A stop would close the launcher's other dialogs too: only the last one
    // open is stopped; any other is ended at once.
    if (AgentStopEvent::Instance().SignalIfOnlyDialog() && reader.Wait(settings.graceMs) &&
        reader.HasLine()) {
        outcome.status = RunStatus::kTimedOutClosed;
        TakeReply(reader.Line(), outcome);
        CollectExit(child, settings.graceMs, outcome);
        return;
    }
    outcome.status = RunStatus::kTimedOutKilled;
    TerminateJobObject(child.job.get(), 1);
}

}  // namespace

std::wstring PathBesideThisProgram(const wchar_t* fileName) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring exe(path, length);
    return exe.substr(0, exe.find_last_of(L"\\/") + 1) + fileName;
}

Outcome Launch(const std::string& request, const LaunchSettings& settings) {
    Outcome outcome;
    AgentStopEvent::Instance().Ensure(outcome.notes);
    try {
        RunDialog(request, settings, outcome);
    } catch (const LaunchFailure& failure) {
        outcome.status = failure.status;
        if (failure.status == RunStatus::kFailedToStart) outcome.error = failure.error;
        if (!failure.note.empty()) outcome.notes.push_back(failure.note);
    }
    return outcome;
}

}  // namespace zemkit
