#pragma once

// The reply to a "REMIND" request, chosen from how the reminder dialog ended.

#include <cstdint>
#include <string>

struct RemindOutcome {
    bool remindRequested = false;
    bool takenAutomatically = false;
    bool takeAllRequested = false;
    bool actionTaken = false;
    bool cancelled = false;
    uint32_t remindSeconds = 0;
    int32_t currentActionId = 0;
};

// The first matching way out wins: remind (automatic, then chosen), take all, take one, cancel
// one; otherwise the dialog was closed without a choice.
std::string RemindReply(const RemindOutcome& outcome);
