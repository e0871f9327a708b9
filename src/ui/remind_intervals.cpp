#include "ui/remind_intervals.h"

#include "format/template.h"

LocalizationFailureCode RemindIntervalTexts::LocalizeRemindIntervals() {
    if (!notYetLocalized_) return result_;
    notYetLocalized_ = false;
    result_ = CatchLocalizationFailure([&] {
        for (const RemindInterval& interval : kRemindIntervals) {
            texts_[interval.position] =
                Localize(MakeTemplate(LiteralTracker::Mark(interval.literal)));
        }
    });
    return result_;
}

Utf8Text LocalizeRemindImmediately() {
    return Localize(MakeTemplate(kRemindImmediatelyLiteral));
}

uint32_t SelectRemindInterval(uint32_t seconds) {
    for (const RemindInterval& interval : kRemindIntervals) {
        if (interval.seconds >= seconds) return interval.position;
    }
    return kFallbackRemindPosition;
}

uint32_t RemindState::GetRemindSeconds() const {
    if (remindImmediately || remindIndex >= kRemindIntervalCount) return 0;
    return kRemindIntervals[remindIndex].seconds;
}

void RemindState::SwitchToImmediately() {
    remindIndex = 0;
    remindImmediately = true;
}

RemindState ReminderRemindState(uint32_t remindTime, uint32_t shortestPostpone) {
    RemindState state;
    state.remindIndex =
        SelectRemindInterval(remindTime < shortestPostpone ? remindTime : shortestPostpone);
    state.maxRemindLeft = shortestPostpone;
    return state;
}

PreActionRemindStart PreActionRemindState(uint32_t remindTime, uint32_t maxRemindTime) {
    PreActionRemindStart start;
    start.requestedRemindUsed = remindTime != 0 && remindTime <= maxRemindTime;
    start.state.remindIndex =
        SelectRemindInterval(remindTime > maxRemindTime ? maxRemindTime : remindTime);
    start.state.maxRemindLeft = maxRemindTime;
    return start;
}

RemindTick TickMaxRemindLeft(RemindState& state) {
    if (state.maxRemindLeft == 0) return RemindTick::kNothing;
    --state.maxRemindLeft;
    return state.maxRemindLeft == 0 ? RemindTick::kReachedZero : RemindTick::kTrim;
}

RemindTrim PlanRemindTrim(int32_t shownCount, uint32_t maxRemindLeft, uint32_t remindIndex) {
    RemindTrim trim;
    if (shownCount < 1 || shownCount > static_cast<int32_t>(kRemindIntervalCount)) {
        trim.action = RemindTrim::kSwitchToImmediately;
        return trim;
    }
    const uint32_t shown = static_cast<uint32_t>(shownCount);
    if (kRemindIntervals[shown - 1].seconds < maxRemindLeft) return trim;
    // An interval equal to the time left no longer fits: it would end after the deadline.
    uint32_t fitting = 0;
    while (fitting < shown && kRemindIntervals[fitting].seconds < maxRemindLeft) ++fitting;
    if (fitting == 0) {
        trim.action = RemindTrim::kSwitchToImmediately;
        return trim;
    }
    trim.action = RemindTrim::kRebuild;
    trim.entryCount = fitting;
    trim.selection = remindIndex < fitting ? remindIndex : fitting - 1;
    return trim;
}
