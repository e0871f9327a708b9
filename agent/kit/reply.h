#pragma once

// The product's one reply line as a typed value, and what a run of the product came to.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zemkit {

struct Reply {
    // The reply word: "OK", "OKAUTO", "CANCEL", "CLOSED", "REMIND", "REMINDAUTO", "RUNALL",
    // "RUNACTION", "CANCELACTION"; "ERROR" for an error line ("Error: ..." or the bare "bad1");
    // "UNKNOWN" for a line the protocol does not have.
    std::string kind;
    std::optional<int64_t> seconds;    // REMIND and REMINDAUTO
    std::optional<int64_t> actionId;   // RUNACTION and CANCELACTION
    std::optional<std::string> error;  // ERROR and UNKNOWN: the whole line
};

// Parses one reply line; a trailing LF (or CR LF) is ignored.
Reply ParseReply(const std::string& line);

// Windows reports -1 as 0xFFFFFFFF to a 32-bit unsigned reader, and Wine as 255 to Unix.
int64_t NormalizeExitCode(int64_t code);

// How a run ended; the words are shared with the Python kit and zemuictl's JSON.
enum class RunStatus {
    kReplied,
    kNoReply,         // the process ended without a reply line
    kTimedOutClosed,  // the deadline passed and the stop event closed the dialog
    kTimedOutKilled,  // the deadline passed and the process was terminated
    kNoUserSession,
    kFailedToStart,
};
const char* StatusWord(RunStatus status);

struct Outcome {
    RunStatus status = RunStatus::kNoReply;
    std::optional<std::string> replyLine;  // without its LF
    std::optional<Reply> reply;
    std::optional<int64_t> exitCode;  // normalised
    std::optional<uint32_t> error;    // the system error of a failed launch
    std::vector<std::string> notes;   // what else the caller should know (session, stop event)
};

}  // namespace zemkit
