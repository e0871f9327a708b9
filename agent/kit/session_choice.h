#pragma once

// Which user session a prompt goes to, decided from the list of sessions alone, so that every
// case can be tested without the system that lists them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zemkit {

enum class SessionState { kActive, kConnected, kDisconnected, kOther };

struct SessionInfo {
    uint32_t id = 0;
    SessionState state = SessionState::kOther;
    std::string name;  // "Console", "RDP-Tcp#3", "Services"
    std::string user;  // empty when nobody is signed in
    std::string domain;
    bool locked = false;
};

// "console" (the default), a session id, or "user:NAME" (NAME or DOMAIN\NAME).
struct SessionSelector {
    enum class Kind { kConsole, kId, kUser } kind = Kind::kConsole;
    uint32_t id = 0;
    std::string user;
};

// Parses the --session value; nullopt when it is none of the three forms.
std::optional<SessionSelector> ParseSessionSelector(const std::string& text);

struct SessionChoice {
    std::optional<uint32_t> sessionId;  // none: there is no user session to show the prompt in
    std::string note;                   // why none, or what to know about the one chosen
};

// The active session the selector names, with a signed-in user. A locked session is chosen (the
// prompt waits there for the user), a disconnected one is not: nobody would see it.
SessionChoice ChooseSession(const std::vector<SessionInfo>& sessions,
                            const SessionSelector& selector);

}  // namespace zemkit
