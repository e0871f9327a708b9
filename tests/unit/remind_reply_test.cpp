#include "protocol/remind_reply.h"

#include <gtest/gtest.h>

namespace {

RemindOutcome Outcome(bool remind, bool automatic, bool takeAll, bool taken, bool cancelled) {
    RemindOutcome outcome;
    outcome.remindRequested = remind;
    outcome.takenAutomatically = automatic;
    outcome.takeAllRequested = takeAll;
    outcome.actionTaken = taken;
    outcome.cancelled = cancelled;
    outcome.remindSeconds = 600;
    outcome.currentActionId = 42;
    return outcome;
}

TEST(RemindReply, FirstMatchingWayOutWins) {
    const struct {
        RemindOutcome outcome;
        const char* reply;
    } cases[] = {
        {Outcome(true, true, true, true, true), "REMINDAUTO:600"},
        {Outcome(true, false, true, true, true), "REMIND:600"},
        {Outcome(false, true, true, true, true), "RUNALL"},
        {Outcome(false, true, false, true, true), "RUNACTION:42"},
        {Outcome(false, false, false, false, true), "CANCELACTION:42"},
        {Outcome(false, true, false, false, false), "CLOSED"},
        {Outcome(false, false, false, false, false), "CLOSED"},
    };
    for (const auto& c : cases) EXPECT_EQ(RemindReply(c.outcome), c.reply);
    RemindOutcome fresh;  // nothing chosen yet
    EXPECT_EQ(RemindReply(fresh), "CLOSED");
    fresh.remindRequested = true;
    EXPECT_EQ(RemindReply(fresh), "REMIND:0");
}

TEST(RemindReply, NumbersAreSignedDecimal) {
    RemindOutcome outcome = Outcome(false, false, false, true, false);
    outcome.currentActionId = -7;
    EXPECT_EQ(RemindReply(outcome), "RUNACTION:-7");
    outcome = Outcome(true, false, false, false, false);
    outcome.remindSeconds = 0;
    EXPECT_EQ(RemindReply(outcome), "REMIND:0");
}

}  // namespace
