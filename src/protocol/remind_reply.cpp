#include "protocol/remind_reply.h"

namespace {

// The agent reads every number as signed decimal.
std::string WithNumber(const char* key, int64_t value) {
    return key + std::to_string(value);
}

}  // namespace

std::string RemindReply(const RemindOutcome& outcome) {
    const auto remindSeconds = static_cast<int32_t>(outcome.remindSeconds);
    if (outcome.remindRequested && outcome.takenAutomatically) {
        return WithNumber("REMINDAUTO:", remindSeconds);
    }
    if (outcome.remindRequested) return WithNumber("REMIND:", remindSeconds);
    if (outcome.takeAllRequested) return "RUNALL";
    if (outcome.actionTaken) return WithNumber("RUNACTION:", outcome.currentActionId);
    if (outcome.cancelled) return WithNumber("CANCELACTION:", outcome.currentActionId);
    return "CLOSED";
}
