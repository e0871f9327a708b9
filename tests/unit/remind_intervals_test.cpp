#include "ui/remind_intervals.h"

#include <gtest/gtest.h>

#include <string>

#include "format/format_errors.h"
#include "support/scoped_overrides.h"

namespace {

TEST(RemindIntervals, TheListIsOrderedByPositionAndLength) {
    for (uint32_t i = 0; i < kRemindIntervalCount; ++i) {
        EXPECT_EQ(kRemindIntervals[i].position, i);
        EXPECT_EQ(kRemindIntervals[i].literal[0], ' ') << i;
        if (i > 0) {
            EXPECT_LT(kRemindIntervals[i - 1].seconds, kRemindIntervals[i].seconds) << i;
        }
    }
    EXPECT_EQ(kRemindIntervals[0].seconds, 60u);
    EXPECT_EQ(kRemindIntervals[kRemindIntervalCount - 1].seconds, 432000u);
}

TEST(SelectRemindInterval, TakesTheFirstIntervalAtLeastAsLong) {
    const struct {
        uint32_t seconds;
        const char* literal;
    } cases[] = {
        {0, " in 1 minute"},     {60, " in 1 minute"},       {61, " in 5 minutes"},
        {600, " in 10 minutes"}, {3600, " in 1 hour"},       {3601, " in 2 hours"},
        {432000, " in 5 days"},  {432001, " in 30 minutes"}, {4294967295u, " in 30 minutes"}};
    for (const auto& c : cases) {
        EXPECT_STREQ(kRemindIntervals[SelectRemindInterval(c.seconds)].literal, c.literal)
            << c.seconds;
    }
}

TEST(RemindState, ReportsTheChosenSecondsOrZeroOnceImmediately) {
    RemindState state;
    state.remindIndex = 6;
    EXPECT_EQ(state.GetRemindSeconds(), 3600u);
    state.remindIndex = 16;
    EXPECT_EQ(state.GetRemindSeconds(), 432000u);
    state.SwitchToImmediately();
    EXPECT_TRUE(state.remindImmediately);
    EXPECT_EQ(state.remindIndex, 0u);
    EXPECT_EQ(state.GetRemindSeconds(), 0u);
}

TEST(RemindState, AnIndexOutsideTheListReportsNoDelay) {
    RemindState state;
    state.remindIndex = kRemindIntervalCount;
    EXPECT_EQ(state.GetRemindSeconds(), 0u);
}

TEST(RemindState, TheReminderStartsFromTheShorterOfRemindTimeAndPostpone) {
    RemindState state = ReminderRemindState(3600, 600);
    EXPECT_EQ(state.remindIndex, 2u);
    EXPECT_EQ(state.maxRemindLeft, 600u);
    EXPECT_FALSE(state.remindImmediately);

    state = ReminderRemindState(1800, 4294967295u);  // a postpone sent as -1
    EXPECT_EQ(state.remindIndex, 4u);
    EXPECT_EQ(state.maxRemindLeft, 4294967295u);
}

TEST(RemindState, ThePreActionDialogRemembersWhetherTheRequestedTimeChose) {
    const struct {
        uint32_t remind, max;
        uint32_t index;
        bool used;
    } cases[] = {{0, 0, 0, false},      {1800, 3600, 4, true}, {3600, 3600, 6, true},
                 {7200, 600, 2, false}, {0, 3600, 0, false},   {4294967291u, 1800, 4, false}};
    for (const auto& c : cases) {
        const PreActionRemindStart start = PreActionRemindState(c.remind, c.max);
        EXPECT_EQ(start.state.remindIndex, c.index) << c.remind << "/" << c.max;
        EXPECT_EQ(start.requestedRemindUsed, c.used) << c.remind << "/" << c.max;
        EXPECT_EQ(start.state.maxRemindLeft, c.max);
        EXPECT_FALSE(start.state.remindImmediately);
    }
}

TEST(TickMaxRemindLeft, CountsDownToZeroAndStaysThere) {
    RemindState state;
    state.maxRemindLeft = 2;
    EXPECT_EQ(TickMaxRemindLeft(state), RemindTick::kTrim);
    EXPECT_EQ(state.maxRemindLeft, 1u);
    EXPECT_EQ(TickMaxRemindLeft(state), RemindTick::kReachedZero);
    EXPECT_EQ(state.maxRemindLeft, 0u);
    EXPECT_EQ(TickMaxRemindLeft(state), RemindTick::kNothing);
    EXPECT_EQ(state.maxRemindLeft, 0u);
}

TEST(PlanRemindTrim, KeepsSwitchesOrRebuilds) {
    const struct {
        int32_t shown;
        uint32_t maxLeft, index;
        RemindTrim::Action action;
        uint32_t entries, selection;
    } cases[] = {
        {17, 4294967295u, 6, RemindTrim::kKeep, 0, 0},  // a negative postpone
        {17, 432001, 16, RemindTrim::kKeep, 0, 0},
        {6, 3599, 5, RemindTrim::kKeep, 0, 0},
        {17, 3599, 6, RemindTrim::kRebuild, 6, 5},
        {17, 3599, 3, RemindTrim::kRebuild, 6, 3},  // a choice that still fits stays
        {17, 600, 2, RemindTrim::kRebuild, 2, 1},   // an interval equal to the time left goes
        {17, 900, 10, RemindTrim::kRebuild, 3, 2},
        {6, 2700, 5, RemindTrim::kRebuild, 5, 4},
        {2, 61, 1, RemindTrim::kRebuild, 1, 0},
        {1, 61, 0, RemindTrim::kKeep, 0, 0},  // one entry shown, still fitting
        {1, 60, 0, RemindTrim::kSwitchToImmediately, 0, 0},
        {17, 60, 0, RemindTrim::kSwitchToImmediately, 0, 0},
        {17, 1, 0, RemindTrim::kSwitchToImmediately, 0, 0},
        {0, 3600, 0, RemindTrim::kSwitchToImmediately, 0, 0},
        {-1, 3600, 0, RemindTrim::kSwitchToImmediately, 0, 0},  // the control's error count
        {18, 4294967295u, 0, RemindTrim::kSwitchToImmediately, 0, 0},
    };
    for (const auto& c : cases) {
        const RemindTrim trim = PlanRemindTrim(c.shown, c.maxLeft, c.index);
        SCOPED_TRACE(testing::Message() << c.shown << " shown, " << c.maxLeft << " s left");
        EXPECT_EQ(trim.action, c.action);
        if (trim.action != RemindTrim::kRebuild) continue;
        EXPECT_EQ(trim.entryCount, c.entries);
        EXPECT_EQ(trim.selection, c.selection);
    }
}

// A combo box stand-in driven the way the dialogs drive theirs.
struct SimulatedRemindCombo {
    RemindState state;
    int32_t shown = kRemindIntervalCount;

    void Trim() {
        if (state.remindImmediately) return;
        const RemindTrim trim = PlanRemindTrim(shown, state.maxRemindLeft, state.remindIndex);
        if (trim.action == RemindTrim::kSwitchToImmediately) {
            state.SwitchToImmediately();
            shown = 1;
        } else if (trim.action == RemindTrim::kRebuild) {
            shown = static_cast<int32_t>(trim.entryCount);
            state.remindIndex = trim.selection;
        }
    }
};

TEST(PlanRemindTrim, OneTickOfAnHourLeavesSixEntries) {
    SimulatedRemindCombo combo{PreActionRemindState(3600, 3600).state};
    ASSERT_EQ(TickMaxRemindLeft(combo.state), RemindTick::kTrim);
    combo.Trim();
    EXPECT_EQ(combo.shown, 6);
    EXPECT_STREQ(kRemindIntervals[combo.state.remindIndex].literal, " in 45 minutes");
    EXPECT_EQ(combo.state.GetRemindSeconds(), 2700u);
}

TEST(PlanRemindTrim, TheReminderTrimsAtOnceToWhatFitsBeforeTheDeadline) {
    SimulatedRemindCombo combo{ReminderRemindState(3600, 600)};
    combo.Trim();
    EXPECT_EQ(combo.shown, 2);
    EXPECT_STREQ(kRemindIntervals[combo.state.remindIndex].literal, " in 5 minutes");

    for (const uint32_t postpone : {60u, 30u, 0u}) {
        SimulatedRemindCombo early{ReminderRemindState(3600, postpone)};
        early.Trim();
        EXPECT_TRUE(early.state.remindImmediately) << postpone;
        EXPECT_EQ(early.state.GetRemindSeconds(), 0u) << postpone;
    }
}

TEST(PlanRemindTrim, TheListOnlyShrinksAsTheTimeRunsOut) {
    SimulatedRemindCombo combo{PreActionRemindState(1800, 1800).state};
    int32_t previous = combo.shown;
    RemindTick tick = RemindTick::kTrim;
    while ((tick = TickMaxRemindLeft(combo.state)) == RemindTick::kTrim) {
        combo.Trim();
        ASSERT_LE(combo.shown, previous) << combo.state.maxRemindLeft;
        if (!combo.state.remindImmediately) {
            ASSERT_LT(kRemindIntervals[combo.shown - 1].seconds, combo.state.maxRemindLeft);
            ASSERT_LT(combo.state.remindIndex, static_cast<uint32_t>(combo.shown));
        }
        previous = combo.shown;
    }
    EXPECT_EQ(tick, RemindTick::kReachedZero);
    EXPECT_TRUE(combo.state.remindImmediately);  // since 60 seconds were left
}

TEST(CatchLocalizationFailure, GivesOneCodePerKindOfFailure) {
    EXPECT_EQ(CatchLocalizationFailure([] {}), kLocalizationSucceeded);
    EXPECT_EQ(CatchLocalizationFailure([] { throw InvalidTextEncoding(); }),
              kLocalizationInvalidTextEncoding);
    EXPECT_EQ(CatchLocalizationFailure([] { throw FormatOverrideNotFound(); }),
              kLocalizationOverrideNotFound);
    EXPECT_EQ(CatchLocalizationFailure([] { throw UndefinedFormatVariable(); }),
              kLocalizationOtherFailure);
    EXPECT_EQ(CatchLocalizationFailure([] { throw 7; }), kLocalizationOtherFailure);
}

TEST(RemindIntervalTexts, AnOverrideChangesTheCaptionButNotTheSeconds) {
    const ScopedOverrides french{{" in 1 hour", " dans 1 heure"}};
    RemindIntervalTexts texts;
    ASSERT_EQ(texts.LocalizeRemindIntervals(), kLocalizationSucceeded);
    EXPECT_STREQ(texts.text(6).c_str(), " dans 1 heure");
    EXPECT_STREQ(texts.text(0).c_str(), " in 1 minute");
    EXPECT_STREQ(texts.text(16).c_str(), " in 5 days");
    RemindState state;
    state.remindIndex = SelectRemindInterval(3600);
    EXPECT_EQ(state.remindIndex, 6u);
    EXPECT_EQ(state.GetRemindSeconds(), 3600u);
}

TEST(RemindIntervalTexts, ABrokenOverrideIsRecordedOnceWithItsLiteral) {
    RemindIntervalTexts texts;
    const LiteralTracker tracker;
    {
        const ScopedOverrides broken{{" in 2 hours", " in {x} hours"}};
        EXPECT_EQ(texts.LocalizeRemindIntervals(), kLocalizationOtherFailure);
    }
    EXPECT_STREQ(tracker.literal(), " in 2 hours");
    EXPECT_STREQ(texts.text(6).c_str(), " in 1 hour");
    EXPECT_EQ(texts.text(7).size(), 0u);
    EXPECT_EQ(texts.text(8).size(), 0u);

    // Not attempted again, even though the broken translation is gone now.
    {
        const LiteralTracker again;
        EXPECT_EQ(texts.LocalizeRemindIntervals(), kLocalizationOtherFailure);
        EXPECT_EQ(again.literal(), nullptr);
    }
    EXPECT_EQ(texts.text(8).size(), 0u);
}

TEST(RemindIntervalTexts, LocalizesOnlyOnce) {
    RemindIntervalTexts texts;
    const LiteralTracker tracker;
    ASSERT_EQ(texts.LocalizeRemindIntervals(), kLocalizationSucceeded);
    EXPECT_STREQ(tracker.literal(), " in 5 days");
    const ScopedOverrides later{{" in 1 day", " in einem Tag"}};
    EXPECT_EQ(texts.LocalizeRemindIntervals(), kLocalizationSucceeded);
    EXPECT_STREQ(texts.text(12).c_str(), " in 1 day");
}

TEST(RemindIntervalTexts, ImmediatelyIsLocalizedEachTime) {
    EXPECT_STREQ(LocalizeRemindImmediately().c_str(), " immediately");
    const ScopedOverrides german{{" immediately", " sofort"}};
    EXPECT_STREQ(LocalizeRemindImmediately().c_str(), " sofort");
}

}  // namespace
