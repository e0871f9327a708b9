#pragma once

// Shows one prompt: starts ZemClientUI in the user's session, writes the request, closes its
// standard input, and reads the one reply line against a deadline.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "kit/reply.h"
#include "kit/session_choice.h"

namespace zemkit {

struct LaunchSettings {
    std::wstring exe;
    std::optional<DWORD> timeoutMs;  // none: wait for the reply as long as it takes
    DWORD graceMs = 10000;           // after a time-out's stop, for the dialog's CLOSED
    SessionSelector session;
};

// LocalSystem, or a token that holds SeTcbPrivilege: such a caller (a service) starts the prompt
// in the user's session; any other starts it as itself, in its own session.
bool RunsAsAgent();

// The sessions as the system lists them; false with the error when it cannot list them.
bool ListSessions(std::vector<SessionInfo>& sessions, DWORD& error);

// A file in the folder of this process's own exe: ZemClientUI.exe ships beside the agent's.
std::wstring PathBesideThisProgram(const wchar_t* fileName);

// Never throws for what the dialog or the system did: every end is an Outcome.
Outcome Launch(const std::string& request, const LaunchSettings& settings);

}  // namespace zemkit
