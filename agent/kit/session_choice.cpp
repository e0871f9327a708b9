#include "kit/session_choice.h"

#include <algorithm>
#include <cctype>

namespace zemkit {

namespace {

constexpr char kConsoleName[] = "Console";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// NAME matches the user in any domain, DOMAIN\NAME only there; case does not matter.
bool IsUser(const SessionInfo& session, const std::string& wanted) {
    const size_t slash = wanted.find('\\');
    if (slash == std::string::npos) return Lower(session.user) == Lower(wanted);
    return Lower(session.domain) == Lower(wanted.substr(0, slash)) &&
           Lower(session.user) == Lower(wanted.substr(slash + 1));
}

bool Matches(const SessionInfo& session, const SessionSelector& selector) {
    switch (selector.kind) {
        case SessionSelector::Kind::kConsole:
            return session.name == kConsoleName;
        case SessionSelector::Kind::kId:
            return session.id == selector.id;
        case SessionSelector::Kind::kUser:
            return IsUser(session, selector.user);
    }
    return false;
}

std::string Describe(const SessionSelector& selector) {
    switch (selector.kind) {
        case SessionSelector::Kind::kConsole:
            return "the console session";
        case SessionSelector::Kind::kId:
            return "session " + std::to_string(selector.id);
        case SessionSelector::Kind::kUser:
            break;
    }
    return "a session of " + selector.user;
}

SessionChoice Chosen(const SessionInfo& session, std::string note) {
    if (session.locked) note += (note.empty() ? "" : "; ") + std::string("the session is locked");
    return SessionChoice{session.id, std::move(note)};
}

}  // namespace

std::optional<SessionSelector> ParseSessionSelector(const std::string& text) {
    SessionSelector selector;
    if (text == "console") return selector;
    if (text.rfind("user:", 0) == 0 && text.size() > 5) {
        selector.kind = SessionSelector::Kind::kUser;
        selector.user = text.substr(5);
        return selector;
    }
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return std::nullopt;
    }
    selector.kind = SessionSelector::Kind::kId;
    selector.id = static_cast<uint32_t>(std::stoul(text));
    return selector;
}

SessionChoice ChooseSession(const std::vector<SessionInfo>& sessions,
                            const SessionSelector& selector) {
    std::vector<const SessionInfo*> active;
    bool disconnected = false;
    bool withoutUser = false;
    for (const SessionInfo& session : sessions) {
        if (!Matches(session, selector)) continue;
        if (session.user.empty()) {
            withoutUser = true;
        } else if (session.state == SessionState::kActive) {
            active.push_back(&session);
        } else if (session.state == SessionState::kDisconnected) {
            disconnected = true;
        }
    }
    if (active.empty()) {
        std::string why = disconnected  ? " is disconnected"
                          : withoutUser ? " has nobody signed in"
                                        : " is not there or not active";
        return SessionChoice{std::nullopt, Describe(selector) + why};
    }
    // A user signed in more than once: the console is where they sit, else the lowest id.
    const auto console = std::find_if(active.begin(), active.end(),
                                      [](const SessionInfo* s) { return s->name == kConsoleName; });
    if (console != active.end()) return Chosen(**console, "");
    const SessionInfo* lowest =
        *std::min_element(active.begin(), active.end(),
                          [](const SessionInfo* a, const SessionInfo* b) { return a->id < b->id; });
    return Chosen(*lowest, active.size() > 1 ? "the user has several active sessions; the one "
                                               "with the lowest id was chosen"
                                             : "");
}

}  // namespace zemkit
