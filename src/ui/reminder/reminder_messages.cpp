#include "ui/reminder/reminder_messages.h"

#include "format/date_time_format.h"
#include "format/number_format.h"
#include "format/template.h"
#include "ui/localization_failure.h"

namespace {

constexpr char kRestartCountdown[] = "The 'Restart Now' button will automatically activate in {x}";
constexpr char kShutdownCountdown[] =
    "The 'Shutdown Now' button will automatically activate in {x}";
constexpr char kTakeActionCountdown[] =
    "The 'Take Action Now' button will automatically activate in {x}";
constexpr char kTakeActionsCountdown[] =
    "The 'Take Actions Now' button will automatically activate in {x}";
// The button is named with a lower-case "again", unlike its caption.
constexpr char kRemindCountdown[] = "The 'Remind again' button will automatically activate in {x}";

constexpr char kRestartSummary[] =
    " There are currently {x} pending actions,{_cr}{_lf} including a RESTART action.";
constexpr char kShutdownSummary[] =
    " There are currently {x} pending actions,{_cr}{_lf} including a SHUTDOWN action.";
constexpr char kPlainSummary[] = " There are currently {x} pending actions.";

constexpr char kDeadlineLiteral[] = "Start by {month} {day_of_month}, {year} {time}";
constexpr char kActionLabelLiteral[] = " Action {x} of {y}";

}  // namespace

TakeAllTarget ChooseTakeAllTarget(const KindCounts& kinds) {
    if (kinds.actions == 1) {
        if (kinds.restarts > 0) return TakeAllTarget::kRestart;
        if (kinds.shutdowns > 0) return TakeAllTarget::kShutdown;
        return TakeAllTarget::kTakeAction;
    }
    if (kinds.restarts + kinds.shutdowns != kinds.actions) return TakeAllTarget::kTakeActions;
    return kinds.restarts > 0 ? TakeAllTarget::kRestart : TakeAllTarget::kShutdown;
}

const char* CountdownLiteral(bool takeAll, const KindCounts& kinds) {
    if (!takeAll) return kRemindCountdown;
    switch (ChooseTakeAllTarget(kinds)) {
        case TakeAllTarget::kRestart:
            return kRestartCountdown;
        case TakeAllTarget::kShutdown:
            return kShutdownCountdown;
        case TakeAllTarget::kTakeAction:
            return kTakeActionCountdown;
        case TakeAllTarget::kTakeActions:
            break;
    }
    return kTakeActionsCountdown;
}

Utf8Text CountdownMessage(uint32_t secondsLeft, bool takeAll, const KindCounts& kinds) {
    const char* literal = LiteralTracker::Mark(CountdownLiteral(takeAll, kinds));
    const uint64_t microseconds = static_cast<uint64_t>(secondsLeft) * kMicrosecondsPerSecond;
    return Localize(MakeTemplate(literal), FormatDuration(static_cast<int64_t>(microseconds)));
}

const char* PendingActionsLiteral(const KindCounts& kinds) {
    if (kinds.restarts > 0) return kRestartSummary;
    if (kinds.shutdowns > 0) return kShutdownSummary;
    return kPlainSummary;
}

Utf8Text PendingActionsSummary(const KindCounts& kinds) {
    const char* literal = LiteralTracker::Mark(PendingActionsLiteral(kinds));
    return Localize(MakeTemplate(literal), FormatUnsigned(kinds.actions));
}

Utf8Text DeadlineText(Timestamp deadline) {
    LiteralTracker::Mark(kDeadlineLiteral);
    // Today's offset, also for a deadline in another season.
    const LocalDateTime local = ToLocalDateTime(deadline, LocalOffsetSeconds());
    return Localize(MakeTemplate(kDeadlineLiteral), FormatMonthName(local.month),
                    FormatUnsigned(local.day), FormatUnsigned(local.year),
                    FormatTimeOfDay(local.time));
}

Utf8Text ActionLabel(uint32_t i, uint32_t n) {
    LiteralTracker::Mark(kActionLabelLiteral);
    return Localize(MakeTemplate(kActionLabelLiteral), FormatUnsigned(i), FormatUnsigned(n));
}
