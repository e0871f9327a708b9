#pragma once

// The reminder dialog's computed texts: the countdown line, the summary of several pending
// actions, an action's deadline and the action selector's labels. Each marks its template on the
// dialog's literal tracker before localizing it, so that a failure report names the template that
// failed, and throws what Localize and the number and date formatters throw.

#include <cstdint>

#include "format/local_time.h"
#include "format/text_range.h"
#include "protocol/action_item.h"

// What the take-all button does, and so what its caption and the countdown line name.
enum class TakeAllTarget {
    kRestart,
    kShutdown,
    kTakeAction,   // one action that neither restarts nor shuts down
    kTakeActions,  // several actions, not all of them restarts or shutdowns
};

TakeAllTarget ChooseTakeAllTarget(const KindCounts& kinds);

// The countdown line's template: the take-all button's when the countdown takes all actions,
// else the "Remind again" button's.
const char* CountdownLiteral(bool takeAll, const KindCounts& kinds);

// The countdown line with the time left as a duration.
Utf8Text CountdownMessage(uint32_t secondsLeft, bool takeAll, const KindCounts& kinds);

// The summary's template for several actions: a second line names a restart, else a shutdown.
const char* PendingActionsLiteral(const KindCounts& kinds);

// The summary for a number of actions other than 1 (one action has fixed captions).
Utf8Text PendingActionsSummary(const KindCounts& kinds);

// "Start by <month> <day>, <year> <time>" in the local time of now's offset.
Utf8Text DeadlineText(Timestamp deadline);

// The selector's label of action i (from 1) of n.
Utf8Text ActionLabel(uint32_t i, uint32_t n);
