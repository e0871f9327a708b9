#include "ui/preaction/preaction_rules.h"

#include "format/date_time_format.h"
#include "format/template.h"
#include "format/time_units.h"
#include "ui/localization_failure.h"

MessageStretch ChooseMessageStretch(bool hasPreview, bool canCancel, bool countdownActive) {
    if (hasPreview || canCancel) return MessageStretch::kNone;
    return countdownActive ? MessageStretch::kToCancelRow : MessageStretch::kToCountdownLine;
}

CountdownStep TickCountdown(PreActionRunState& run) {
    if (!run.countdownActive) return CountdownStep::kNothing;
    if (run.countdownLeft == 0) return CountdownStep::kTakeAction;
    --run.countdownLeft;
    return CountdownStep::kShowLeft;
}

RemindStep TickPreActionRemind(PreActionRunState& run, RemindState& remind) {
    if (!run.remindActive) return RemindStep::kNothing;
    switch (TickMaxRemindLeft(remind)) {
        case RemindTick::kNothing:
            return RemindStep::kNothing;
        case RemindTick::kTrim:
            return RemindStep::kTrim;
        case RemindTick::kReachedZero:
            break;
    }
    if (!run.requestedRemindUsed) return RemindStep::kSwitchToImmediately;
    run.remindActive = false;
    return RemindStep::kWithdraw;
}

Utf8Text BuildCountdownText(uint32_t secondsLeft) {
    const uint64_t microseconds = uint64_t{secondsLeft} * kMicrosecondsPerSecond;
    const Utf8Text left = FormatDuration(static_cast<int64_t>(microseconds));
    return Localize(MakeTemplate(LiteralTracker::Mark(kCountdownLiteral)), left);
}
