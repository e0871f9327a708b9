#include "ui/reminder/reminder_choices.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr ActionKind kNone = ActionKind::kNone;
constexpr ActionKind kRestart = ActionKind::kRestart;
constexpr ActionKind kShutdown = ActionKind::kShutdown;

TEST(CountKinds, CountsRestartsAndShutdownsAcrossSegments) {
    const struct {
        std::vector<ActionKind> kinds;
        uint32_t restarts, shutdowns;
    } cases[] = {
        {{}, 0, 0},
        {{kNone}, 0, 0},
        {{kRestart}, 1, 0},
        {{kShutdown}, 0, 1},
        {{kRestart, kShutdown, kNone}, 1, 1},
        // Seven actions fill segments 0 to 2 of the array.
        {{kShutdown, kShutdown, kRestart, kNone, kShutdown, kRestart, kShutdown}, 2, 4},
    };
    for (const auto& c : cases) {
        SegmentedList<ActionItem> list;
        for (ActionKind kind : c.kinds) list.Emplace().kind = kind;
        const KindCounts counts = CountKinds(list);
        EXPECT_EQ(counts.actions, c.kinds.size());
        EXPECT_EQ(counts.restarts, c.restarts) << c.kinds.size();
        EXPECT_EQ(counts.shutdowns, c.shutdowns) << c.kinds.size();
    }
}

TEST(ActionButtonLiteral, NamesWhatTheActionDoes) {
    EXPECT_STREQ(ActionButtonLiteral(kNone), "Take Action Now");
    EXPECT_STREQ(ActionButtonLiteral(kRestart), "Restart Now");
    EXPECT_STREQ(ActionButtonLiteral(kShutdown), "Shutdown Now");
    // A kind the protocol does not know is treated as a plain action.
    EXPECT_STREQ(ActionButtonLiteral(static_cast<ActionKind>(1)), "Take Action Now");
}

TEST(TakeAllLiteral, NamesTheCommonEffectOfAllActions) {
    const struct {
        uint32_t n, r, s;
        const char* caption;
    } cases[] = {
        {1, 0, 0, "Take Action Now"},  {1, 1, 0, "Restart Now"},      {1, 0, 1, "Shutdown Now"},
        {2, 0, 2, "Shutdown Now"},     {2, 1, 1, "Restart Now"},      {2, 2, 0, "Restart Now"},
        {2, 1, 0, "Take Actions Now"}, {2, 0, 1, "Take Actions Now"}, {3, 0, 0, "Take Actions Now"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(TakeAllLiteral({c.n, c.r, c.s}), c.caption) << c.n << c.r << c.s;
    }
}

TEST(SingleActionSummaryLiteral, FixedTextOnlyForOneAction) {
    EXPECT_STREQ(SingleActionSummaryLiteral({1, 0, 0}), "There is currently 1 pending action.");
    EXPECT_STREQ(SingleActionSummaryLiteral({1, 1, 0}),
                 "There is currently a pending restart action.");
    EXPECT_STREQ(SingleActionSummaryLiteral({1, 0, 1}),
                 "There is currently a pending shutdown action.");
    EXPECT_EQ(SingleActionSummaryLiteral({2, 1, 0}), nullptr);
    EXPECT_EQ(SingleActionSummaryLiteral({3, 0, 0}), nullptr);
}

TEST(InfoLayoutHeight, EndsFifteenPixelsAt96DpiBelowTheAnchor) {
    EXPECT_EQ(InfoLayoutHeight(300, 100, 96), 215);
    EXPECT_EQ(InfoLayoutHeight(40, -20, 96), 75);     // a window partly above the screen
    EXPECT_EQ(InfoLayoutHeight(300, 100, 144), 223);  // 22.5 pixels, rounded up
    EXPECT_EQ(InfoLayoutHeight(300, 100, 0), 215);    // DPI unknown
}

TEST(NextCountdownTick, ShowsZeroForOneTickBeforeActivating) {
    EXPECT_EQ(NextCountdownTick(false, 5), CountdownTick::kIgnore);
    EXPECT_EQ(NextCountdownTick(false, 0), CountdownTick::kIgnore);
    EXPECT_EQ(NextCountdownTick(true, 1), CountdownTick::kCountDown);
    EXPECT_EQ(NextCountdownTick(true, 0), CountdownTick::kActivate);

    // AUTOTIME 2: the line reads 2, 1, 0 and the third tick activates.
    uint32_t left = 2;
    int ticks = 0;
    for (;;) {
        ++ticks;
        if (NextCountdownTick(true, left) == CountdownTick::kActivate) break;
        --left;
    }
    EXPECT_EQ(ticks, 3);
}

}  // namespace
