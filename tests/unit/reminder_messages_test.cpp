#include "ui/reminder/reminder_messages.h"

#include <gtest/gtest.h>

#include <string>

#include "format/format_errors.h"
#include "support/scoped_overrides.h"
#include "ui/localization_failure.h"

namespace {

constexpr char kTakeActions[] = "The 'Take Actions Now' button will automatically activate in {x}";
constexpr char kTakeAction[] = "The 'Take Action Now' button will automatically activate in {x}";
constexpr char kRestart[] = "The 'Restart Now' button will automatically activate in {x}";
constexpr char kShutdown[] = "The 'Shutdown Now' button will automatically activate in {x}";
constexpr char kRemind[] = "The 'Remind again' button will automatically activate in {x}";

TEST(ChooseTakeAllTarget, FollowsTheKindsOfTheActions) {
    const struct {
        uint32_t n, r, s;
        TakeAllTarget target;
    } cases[] = {
        {1, 0, 0, TakeAllTarget::kTakeAction},  {1, 1, 0, TakeAllTarget::kRestart},
        {1, 0, 1, TakeAllTarget::kShutdown},    {3, 0, 0, TakeAllTarget::kTakeActions},
        {2, 0, 1, TakeAllTarget::kTakeActions}, {2, 1, 0, TakeAllTarget::kTakeActions},
        {2, 0, 2, TakeAllTarget::kShutdown},    {2, 1, 1, TakeAllTarget::kRestart},
        {3, 2, 1, TakeAllTarget::kRestart},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseTakeAllTarget({c.n, c.r, c.s}), c.target) << c.n << c.r << c.s;
    }
}

TEST(CountdownMessage, NamesTheButtonTheCountdownWillPress) {
    const struct {
        bool takeAll;
        uint32_t n, r, s;
        const char* literal;
    } cases[] = {
        {true, 3, 0, 0, kTakeActions}, {true, 2, 0, 1, kTakeActions}, {true, 2, 1, 1, kRestart},
        {true, 2, 0, 2, kShutdown},    {true, 1, 0, 0, kTakeAction},  {true, 1, 1, 0, kRestart},
        {true, 1, 0, 1, kShutdown},    {false, 1, 1, 0, kRemind},     {false, 2, 1, 1, kRemind},
        {false, 3, 0, 0, kRemind},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(CountdownLiteral(c.takeAll, {c.n, c.r, c.s}), c.literal);
        const LiteralTracker tracker;
        const Utf8Text line = CountdownMessage(90, c.takeAll, {c.n, c.r, c.s});
        EXPECT_STREQ(tracker.literal(), c.literal);
        std::string expected(c.literal);
        expected.replace(expected.find("{x}"), 3, "00:01:30");
        EXPECT_EQ(std::string(line.c_str()), expected);
    }
}

TEST(CountdownMessage, FormatsTheSecondsLeftAsADuration) {
    const KindCounts oneAction = {1, 0, 0};
    EXPECT_STREQ(CountdownMessage(0, false, oneAction).c_str(),
                 "The 'Remind again' button will automatically activate in 00:00:00");
    EXPECT_STREQ(CountdownMessage(3661, false, oneAction).c_str(),
                 "The 'Remind again' button will automatically activate in 01:01:01");
    // The largest count of seconds must not wrap into a negative duration.
    const std::string longest = CountdownMessage(4294967295u, false, oneAction).c_str();
    EXPECT_EQ(longest.find('-'), std::string::npos) << longest;
    EXPECT_NE(longest.find("49710 days"), std::string::npos) << longest;
}

TEST(PendingActionsSummary, MentionsARestartBeforeAShutdown) {
    const struct {
        uint32_t n, r, s;
        const char* text;
    } cases[] = {
        {3, 0, 0, " There are currently 3 pending actions."},
        {2, 0, 1, " There are currently 2 pending actions,\r\n including a SHUTDOWN action."},
        {2, 1, 1, " There are currently 2 pending actions,\r\n including a RESTART action."},
        {12, 1, 0, " There are currently 12 pending actions,\r\n including a RESTART action."},
    };
    for (const auto& c : cases) {
        const LiteralTracker tracker;
        EXPECT_STREQ(PendingActionsSummary({c.n, c.r, c.s}).c_str(), c.text);
        EXPECT_STREQ(tracker.literal(), PendingActionsLiteral({c.n, c.r, c.s}));
    }
}

TEST(DeadlineText, ReadsInLocalTimeWithoutLeadingZeros) {
    // 4 May 2007 09:05:07 local time, whatever the zone of the machine.
    const int64_t utcSeconds = 1178236800 + 9 * 3600 + 5 * 60 + 7 - LocalOffsetSeconds();
    const LiteralTracker tracker;
    EXPECT_STREQ(DeadlineText(utcSeconds * 1000000 + 999999).c_str(),
                 "Start by May 4, 2007 9:05:07");
    EXPECT_STREQ(tracker.literal(), "Start by {month} {day_of_month}, {year} {time}");
}

TEST(DeadlineText, ATranslationMayReorderTheParts) {
    const ScopedOverrides german{{"Start by {month} {day_of_month}, {year} {time}",
                                  "Beginn am {day_of_month}. {month} {year}"},
                                 {"May", "Mai"}};
    const int64_t utcSeconds = 1178236800 + 12 * 3600 - LocalOffsetSeconds();
    EXPECT_STREQ(DeadlineText(utcSeconds * 1000000).c_str(), "Beginn am 4. Mai 2007");
}

TEST(ActionLabel, CountsFromOneWithALeadingBlank) {
    const LiteralTracker tracker;
    EXPECT_STREQ(ActionLabel(1, 3).c_str(), " Action 1 of 3");
    EXPECT_STREQ(ActionLabel(2, 3).c_str(), " Action 2 of 3");
    EXPECT_STREQ(ActionLabel(3, 3).c_str(), " Action 3 of 3");
    EXPECT_STREQ(tracker.literal(), " Action {x} of {y}");
}

TEST(ReminderMessages, ABrokenTranslationThrowsWithItsLiteralRecorded) {
    const ScopedOverrides broken{{" Action {x} of {y}", " Aktion {x} von {z}"},
                                 {" There are currently {x} pending actions.", " {x"}};
    const LiteralTracker tracker;
    EXPECT_THROW(ActionLabel(1, 2), UndefinedFormatVariable);
    EXPECT_STREQ(tracker.literal(), " Action {x} of {y}");
    EXPECT_THROW(PendingActionsSummary({2, 0, 0}), BadFormatStringError);
    EXPECT_STREQ(tracker.literal(), " There are currently {x} pending actions.");
}

}  // namespace
