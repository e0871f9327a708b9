#pragma once

// The pre-action dialog's decisions that need no window: how far the message box stretches, what
// a one-second tick does to the countdown and to the remind choice, and the countdown line.

#include <cstdint>

#include "format/text_range.h"
#include "ui/remind_intervals.h"

// The process-wide run state of the one pre-action dialog (the remind choice itself lives with
// the dialog object).
struct PreActionRunState {
    bool countdownActive = false;
    uint32_t countdownLeft = 0;  // seconds
    bool remindActive = false;   // "Remind Again" and the interval list are shown
    // The requested remind time chose the initial interval: when the maximum runs out the remind
    // choice is withdrawn rather than switched to " immediately".
    bool requestedRemindUsed = false;
};

// Which control's bottom edge the message box grows down to.
enum class MessageStretch {
    kNone,            // the preview/cancel row is in use: the box keeps its template height
    kToCancelRow,     // over the empty button row, stopping above the visible countdown line
    kToCountdownLine  // over the empty button row and the hidden countdown line
};
MessageStretch ChooseMessageStretch(bool hasPreview, bool canCancel, bool countdownActive);

enum class CountdownStep {
    kNothing,     // no countdown runs
    kTakeAction,  // the tick found 0 left
    kShowLeft     // one second less: refresh the line
};
// N + 1 ticks after a countdown of N seconds starts, the action is taken.
CountdownStep TickCountdown(PreActionRunState& run);

enum class RemindStep {
    kNothing,
    kTrim,                 // the list may have to shrink
    kWithdraw,             // the maximum ran out: hide "Remind Again" and the list for good
    kSwitchToImmediately,  // the maximum ran out: only " immediately" is left
};
// Ticks the maximum remind time while the remind choice is shown; clears remindActive when the
// choice is withdrawn.
RemindStep TickPreActionRemind(PreActionRunState& run, RemindState& remind);

constexpr char kCountdownLiteral[] = "The action will automatically start in {x}";

// The countdown line for `secondsLeft`; marks its template before localizing it.
Utf8Text BuildCountdownText(uint32_t secondsLeft);
