#include "ui/reminder/reminder_messages.h"

#include "format/date_time_format.h"
#include "format/number_format.h"
#include "format/template.h"

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

TakeAllTarget ChooseTakeAllTarget(uint32_t n, uint32_t r, uint32_t s) {
    if (n == 1) {
        if (r > 0) return TakeAllTarget::kRestart;
        if (s > 0) return TakeAllTarget::kShutdown;
        return TakeAllTarget::kTakeAction;
    }
    if (r + s != n) return TakeAllTarget::kTakeActions;
    return r > 0 ? TakeAllTarget::kRestart : TakeAllTarget::kShutdown;
}

const char* CountdownLiteral(bool takeAll, uint32_t n, uint32_t r, uint32_t s) {
    if (!takeAll) return kRemindCountdown;
    switch (ChooseTakeAllTarget(n, r, s)) {
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

Utf8Text CountdownMessage(uint32_t secondsLeft, bool takeAll, uint32_t n, uint32_t r, uint32_t s,
                          const char*& currentLiteral) {
    currentLiteral = CountdownLiteral(takeAll, n, r, s);
    const uint64_t microseconds = static_cast<uint64_t>(secondsLeft) * kMicrosecondsPerSecond;
    return Localize(MakeTemplate(currentLiteral),
                    FormatDuration(static_cast<int64_t>(microseconds)));
}

const char* PendingActionsLiteral(uint32_t r, uint32_t s) {
    if (r > 0) return kRestartSummary;
    if (s > 0) return kShutdownSummary;
    return kPlainSummary;
}

Utf8Text PendingActionsSummary(uint32_t n, uint32_t r, uint32_t s, const char*& currentLiteral) {
    currentLiteral = PendingActionsLiteral(r, s);
    return Localize(MakeTemplate(currentLiteral), FormatUnsigned(n));
}

Utf8Text DeadlineText(Timestamp deadline, const char*& currentLiteral) {
    currentLiteral = kDeadlineLiteral;
    // Today's offset, also for a deadline in another season.
    const LocalDateTime local = ToLocalDateTime(deadline, LocalOffsetSeconds());
    return Localize(MakeTemplate(kDeadlineLiteral), FormatMonthName(local.month),
                    FormatUnsigned(local.day), FormatUnsigned(local.year),
                    FormatTimeOfDay(local.time));
}

Utf8Text ActionLabel(uint32_t i, uint32_t n, const char*& currentLiteral) {
    currentLiteral = kActionLabelLiteral;
    return Localize(MakeTemplate(kActionLabelLiteral), FormatUnsigned(i), FormatUnsigned(n));
}
