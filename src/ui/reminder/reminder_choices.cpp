#include "ui/reminder/reminder_choices.h"

#include "ui/dpi_scaling.h"
#include "ui/reminder/reminder_messages.h"

KindCounts CountKinds(const SegmentedList<ActionItem>& actions) {
    KindCounts counts;
    counts.actions = actions.count();
    for (uint32_t index = 0; index < actions.count(); ++index) {
        const ActionKind kind = actions.at(index).kind;
        if (kind == ActionKind::kRestart) ++counts.restarts;
        if (kind == ActionKind::kShutdown) ++counts.shutdowns;
    }
    return counts;
}

const char* ActionButtonLiteral(ActionKind kind) {
    switch (kind) {
        case ActionKind::kRestart:
            return kRestartLiteral;
        case ActionKind::kShutdown:
            return kShutdownLiteral;
        case ActionKind::kNone:
            break;
    }
    return kTakeActionLiteral;
}

const char* TakeAllLiteral(const KindCounts& kinds) {
    // The countdown line names the same button, so both follow one choice.
    switch (ChooseTakeAllTarget(kinds)) {
        case TakeAllTarget::kRestart:
            return kRestartLiteral;
        case TakeAllTarget::kShutdown:
            return kShutdownLiteral;
        case TakeAllTarget::kTakeAction:
            return kTakeActionLiteral;
        case TakeAllTarget::kTakeActions:
            break;
    }
    return kTakeActionsLiteral;
}

const char* SingleActionSummaryLiteral(const KindCounts& kinds) {
    if (kinds.actions != 1) return nullptr;
    if (kinds.restarts > 0) return kOneRestartSummaryLiteral;
    if (kinds.shutdowns > 0) return kOneShutdownSummaryLiteral;
    return kOneActionSummaryLiteral;
}

int32_t InfoLayoutHeight(int32_t anchorBottom, int32_t windowTop, uint32_t dpi) {
    return anchorBottom - windowTop + ScaleToDpi(kInfoPanelMarginPx, dpi);
}

CountdownTick NextCountdownTick(bool countdownActive, uint32_t countdownLeft) {
    if (!countdownActive) return CountdownTick::kIgnore;
    return countdownLeft > 0 ? CountdownTick::kCountDown : CountdownTick::kActivate;
}
