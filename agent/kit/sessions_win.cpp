// The system's sessions and who may start programs in them.

#include "kit/launcher_win.h"

// Needs the types of windows.h.
#include <wtsapi32.h>

#include "platform/handles_win.h"

namespace zemkit {

namespace {

// Declared here: the toolchain's headers and import library predate them (Windows 7 has them).
struct SessionInfoLevel1 {
    DWORD execEnvId;
    WTS_CONNECTSTATE_CLASS state;
    DWORD sessionId;
    LPWSTR sessionName;
    LPWSTR hostName;
    LPWSTR userName;
    LPWSTR domainName;
    LPWSTR farmName;
};
struct SessionInfoExLevel1Head {  // the start of WTSINFOEXW, as far as it is read
    DWORD level;
    ULONG sessionId;
    WTS_CONNECTSTATE_CLASS sessionState;
    LONG sessionFlags;
};
constexpr auto kSessionInfoEx = static_cast<WTS_INFO_CLASS>(25);
constexpr LONG kSessionStateLock = 0;
constexpr int kTypeSessionInfoLevel1 = 2;
using EnumerateSessionsEx = BOOL(WINAPI*)(HANDLE, DWORD*, DWORD, SessionInfoLevel1**, DWORD*);
using FreeMemoryEx = BOOL(WINAPI*)(int, void*, ULONG);

HMODULE SessionLibrary() {
    static HMODULE library = LoadLibraryExW(L"wtsapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return library;
}

template <typename Function>
Function SessionFunction(const char* name) {
    HMODULE library = SessionLibrary();
    return library == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

std::string Narrow(const wchar_t* text) {
    if (text == nullptr || *text == L'\0') return "";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size - 1));
    return out;
}

SessionState StateOf(WTS_CONNECTSTATE_CLASS state) {
    switch (state) {
        case WTSActive:
            return SessionState::kActive;
        case WTSConnected:
            return SessionState::kConnected;
        case WTSDisconnected:
            return SessionState::kDisconnected;
        default:
            return SessionState::kOther;
    }
}

bool IsLocked(DWORD sessionId) {
    LPWSTR raw = nullptr;
    DWORD size = 0;
    if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, sessionId, kSessionInfoEx, &raw,
                                     &size)) {
        return false;
    }
    const auto* info = reinterpret_cast<const SessionInfoExLevel1Head*>(raw);
    const bool locked =
        size >= sizeof *info && info->level == 1 && info->sessionFlags == kSessionStateLock;
    WTSFreeMemory(raw);
    return locked;
}

// Held and enabled: services running as LocalSystem have SeTcbPrivilege enabled, while a token
// that merely lists it disabled (Wine gives one to every process) cannot use it.
bool HoldsEnabledPrivilege(HANDLE token, const wchar_t* name) {
    LUID wanted;
    if (!LookupPrivilegeValueW(nullptr, name, &wanted)) return false;
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
        return false;
    }
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID& luid = privileges->Privileges[i].Luid;
        if (luid.LowPart == wanted.LowPart && luid.HighPart == wanted.HighPart) {
            return (privileges->Privileges[i].Attributes &
                    (SE_PRIVILEGE_ENABLED | SE_PRIVILEGE_ENABLED_BY_DEFAULT)) != 0;
        }
    }
    return false;
}

}  // namespace

bool RunsAsAgent() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return false;
    const ScopedKernelHandle token(rawToken);
    char buffer[256];
    DWORD size = 0;
    if (GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size) &&
        IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, WinLocalSystemSid)) {
        return true;
    }
    return HoldsEnabledPrivilege(token.get(), L"SeTcbPrivilege");
}

bool ListSessions(std::vector<SessionInfo>& sessions, DWORD& error) {
    const auto enumerate = SessionFunction<EnumerateSessionsEx>("WTSEnumerateSessionsExW");
    const auto freeMemory = SessionFunction<FreeMemoryEx>("WTSFreeMemoryExW");
    if (enumerate == nullptr || freeMemory == nullptr) {
        error = ERROR_PROC_NOT_FOUND;
        return false;
    }
    DWORD level = 1;
    SessionInfoLevel1* list = nullptr;
    DWORD count = 0;
    if (!enumerate(WTS_CURRENT_SERVER_HANDLE, &level, 0, &list, &count)) {
        error = GetLastError();
        return false;
    }
    for (DWORD i = 0; i < count; ++i) {
        SessionInfo session;
        session.id = list[i].sessionId;
        session.state = StateOf(list[i].state);
        session.name = Narrow(list[i].sessionName);
        session.user = Narrow(list[i].userName);
        session.domain = Narrow(list[i].domainName);
        session.locked = session.state == SessionState::kActive && IsLocked(session.id);
        sessions.push_back(session);
    }
    freeMemory(kTypeSessionInfoLevel1, list, count);
    error = ERROR_SUCCESS;
    return true;
}

}  // namespace zemkit
