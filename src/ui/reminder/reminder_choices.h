#pragma once

// The reminder dialog's choices that depend only on its actions: the captions of the take-all and
// take-action buttons, the summary for a single action, the kind counts, the folded and unfolded
// heights and what each timer tick of the countdown does.

#include <cstdint>

#include "io/segmented_list.h"
#include "protocol/action_item.h"
#include "ui/shared_captions.h"

inline constexpr char kTakeActionsLiteral[] = "Take Actions Now";
inline constexpr char kRestartLiteral[] = "Restart Now";
inline constexpr char kShutdownLiteral[] = "Shutdown Now";
inline constexpr char kMoreInfoLiteral[] = "More Info...";
inline constexpr char kLessInfoLiteral[] = "Less Info...";
inline constexpr char kOneRestartSummaryLiteral[] = "There is currently a pending restart action.";
inline constexpr char kOneShutdownSummaryLiteral[] =
    "There is currently a pending shutdown action.";
inline constexpr char kOneActionSummaryLiteral[] = "There is currently 1 pending action.";

// Counts the actions, and the restarts and shutdowns among them.
KindCounts CountKinds(const SegmentedList<ActionItem>& actions);

// Caption of the take-action button (IDC_ACTION_BUTTON) for the current action's kind.
const char* ActionButtonLiteral(ActionKind kind);

// Caption of the take-all button (IDC_TAKE_ALL_BUTTON): it names what pressing it does to the
// computer whenever every action does the same.
const char* TakeAllLiteral(const KindCounts& kinds);

// The fixed summary (IDC_SUMMARY) of a single action; null for several, which get the counted
// summary.
const char* SingleActionSummaryLiteral(const KindCounts& kinds);

// The dialog ends this many pixels (at 96 DPI) below the take-all button (folded) or the group box.
constexpr int32_t kInfoPanelMarginPx = 15;

// Window height that ends the margin, scaled to `dpi`, below an anchor control's bottom (screen
// coordinates).
int32_t InfoLayoutHeight(int32_t anchorBottom, int32_t windowTop, uint32_t dpi);

// What one tick of the one-second timer does to the automatic countdown.
enum class CountdownTick {
    kIgnore,     // no countdown runs
    kCountDown,  // one second less; the remind list ages by one second too
    kActivate,   // the line has shown 0 for one tick: the countdown presses its button
};
CountdownTick NextCountdownTick(bool countdownActive, uint32_t countdownLeft);
