#include "ui/preaction/preaction_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "format/format_errors.h"
#include "support/scoped_overrides.h"
#include "ui/localization_failure.h"

namespace {

TEST(ChooseMessageStretch, GrowsOnlyWhenThePreviewAndCancelRowIsEmpty) {
    const struct {
        bool preview;
        bool cancel;
        bool countdown;
        MessageStretch expected;
    } cases[] = {
        {false, false, false, MessageStretch::kToCountdownLine},
        {false, false, true, MessageStretch::kToCancelRow},
        {true, false, false, MessageStretch::kNone},
        {false, true, false, MessageStretch::kNone},
        {true, true, true, MessageStretch::kNone},
        {false, true, true, MessageStretch::kNone},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseMessageStretch(c.preview, c.cancel, c.countdown), c.expected)
            << c.preview << c.cancel << c.countdown;
    }
}

TEST(TickCountdown, TakesTheActionOnTheTickAfterReachingZero) {
    PreActionRunState run;
    run.countdownActive = true;
    run.countdownLeft = 2;
    EXPECT_EQ(TickCountdown(run), CountdownStep::kShowLeft);
    EXPECT_EQ(run.countdownLeft, 1u);
    EXPECT_EQ(TickCountdown(run), CountdownStep::kShowLeft);
    EXPECT_EQ(run.countdownLeft, 0u);
    EXPECT_EQ(TickCountdown(run), CountdownStep::kTakeAction);  // N + 1 ticks for N seconds
    EXPECT_EQ(run.countdownLeft, 0u);
}

TEST(TickCountdown, DoesNothingWithoutACountdown) {
    PreActionRunState run;
    run.countdownLeft = 5;  // a stopped countdown keeps its value
    EXPECT_EQ(TickCountdown(run), CountdownStep::kNothing);
    EXPECT_EQ(run.countdownLeft, 5u);
}

TEST(TickPreActionRemind, TrimsWhileTimeIsLeftThenWithdrawsTheRequestedChoice) {
    PreActionRunState run;
    run.remindActive = true;
    run.requestedRemindUsed = true;
    RemindState remind;
    remind.maxRemindLeft = 2;
    EXPECT_EQ(TickPreActionRemind(run, remind), RemindStep::kTrim);
    EXPECT_EQ(remind.maxRemindLeft, 1u);
    EXPECT_EQ(TickPreActionRemind(run, remind), RemindStep::kWithdraw);
    EXPECT_EQ(remind.maxRemindLeft, 0u);
    EXPECT_FALSE(run.remindActive);
    EXPECT_EQ(TickPreActionRemind(run, remind), RemindStep::kNothing);
}

TEST(TickPreActionRemind, SwitchesToImmediatelyWhenTheRequestedTimeWasNotUsed) {
    PreActionRunState run;
    run.remindActive = true;
    RemindState remind;
    remind.maxRemindLeft = 1;
    EXPECT_EQ(TickPreActionRemind(run, remind), RemindStep::kSwitchToImmediately);
    EXPECT_TRUE(run.remindActive);  // the list stays, showing " immediately"
    EXPECT_EQ(TickPreActionRemind(run, remind), RemindStep::kNothing);
    EXPECT_EQ(remind.maxRemindLeft, 0u);
}

TEST(TickPreActionRemind, LeavesTheTimeAloneWhileTheChoiceIsNotShown) {
    PreActionRunState run;
    RemindState remind;
    remind.maxRemindLeft = 100;
    EXPECT_EQ(TickPreActionRemind(run, remind), RemindStep::kNothing);
    EXPECT_EQ(remind.maxRemindLeft, 100u);
}

TEST(BuildCountdownText, ShowsTheTimeLeftAndRecordsItsTemplate) {
    const struct {
        uint32_t seconds;
        const char* expected;
    } cases[] = {
        {90, "The action will automatically start in 00:01:30"},
        {1, "The action will automatically start in 00:00:01"},
        {0, "The action will automatically start in 00:00:00"},
        {3600 + 61, "The action will automatically start in 01:01:01"},
    };
    for (const auto& c : cases) {
        const LiteralTracker tracker;
        EXPECT_STREQ(BuildCountdownText(c.seconds).c_str(), c.expected) << c.seconds;
        EXPECT_STREQ(tracker.literal(), kCountdownLiteral);
    }
}

TEST(BuildCountdownText, UsesATranslationOfTheLine) {
    ScopedOverrides overrides({{kCountdownLiteral, "Start in {x}"}});
    EXPECT_STREQ(BuildCountdownText(90).c_str(), "Start in 00:01:30");
}

TEST(BuildCountdownText, ABrokenTranslationThrowsWithTheLineRecorded) {
    ScopedOverrides overrides({{kCountdownLiteral, "Start in {y}"}});
    const LiteralTracker tracker;
    EXPECT_THROW(BuildCountdownText(90), UndefinedFormatVariable);
    EXPECT_STREQ(tracker.literal(), kCountdownLiteral);
}

}  // namespace
