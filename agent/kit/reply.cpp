#include "kit/reply.h"

#include <cctype>
#include <cstring>

namespace zemkit {

namespace {

struct ReplyWord {
    const char* word;
    enum { kBare, kSeconds, kActionId } argument;
};

constexpr ReplyWord kReplyWords[] = {
    {"OK", ReplyWord::kBare},
    {"OKAUTO", ReplyWord::kBare},
    {"CANCEL", ReplyWord::kBare},
    {"CLOSED", ReplyWord::kBare},
    {"RUNALL", ReplyWord::kBare},
    {"REMIND", ReplyWord::kSeconds},
    {"REMINDAUTO", ReplyWord::kSeconds},
    {"RUNACTION", ReplyWord::kActionId},
    {"CANCELACTION", ReplyWord::kActionId},
};

// An optional minus and decimal digits, nothing else.
std::optional<int64_t> ParseInteger(const std::string& text) {
    size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (i == text.size() || text.size() - i > 18) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return text[0] == '-' ? -value : value;
}

Reply Unknown(const std::string& line) {
    Reply reply;
    reply.kind = "UNKNOWN";
    reply.error = line;
    return reply;
}

}  // namespace

Reply ParseReply(const std::string& raw) {
    std::string line = raw;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("Error: ", 0) == 0 || line == "bad1") {
        Reply reply;
        reply.kind = "ERROR";
        reply.error = line;
        return reply;
    }
    const size_t colon = line.find(':');
    const std::string word = line.substr(0, colon);
    for (const ReplyWord& candidate : kReplyWords) {
        if (word != candidate.word) continue;
        const bool hasArgument = colon != std::string::npos;
        if ((candidate.argument == ReplyWord::kBare) == hasArgument) return Unknown(line);
        Reply reply;
        reply.kind = word;
        if (!hasArgument) return reply;
        const std::optional<int64_t> value = ParseInteger(line.substr(colon + 1));
        if (!value) return Unknown(line);
        (candidate.argument == ReplyWord::kSeconds ? reply.seconds : reply.actionId) = value;
        return reply;
    }
    return Unknown(line);
}

int64_t NormalizeExitCode(int64_t code) {
    if (code == 255 || code == 0xFFFFFFFF) return -1;
    return code;
}

const char* StatusWord(RunStatus status) {
    switch (status) {
        case RunStatus::kReplied:
            return "replied";
        case RunStatus::kNoReply:
            return "no_reply";
        case RunStatus::kTimedOutClosed:
            return "timed_out_closed";
        case RunStatus::kTimedOutKilled:
            return "timed_out_killed";
        case RunStatus::kNoUserSession:
            return "no_user_session";
        case RunStatus::kFailedToStart:
            break;
    }
    return "failed_to_start";
}

}  // namespace zemkit
