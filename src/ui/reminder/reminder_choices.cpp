#include "ui/reminder/reminder_choices.h"

#include "ui/dpi_scaling.h"
#include "ui/reminder/reminder_messages.h"

KindCounts CountKinds(const SegmentedArray& actions) {
    KindCounts counts;
    for (uint32_t index = 0; index < actions.count(); ++index) {
        const auto* item = static_cast<const ActionItem*>(actions.ElementAt(index));
        if (item->kind == ActionKind::kRestart) ++counts.restarts;
        if (item->kind == ActionKind::kShutdown) ++counts.shutdowns;
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

const char* TakeAllLiteral(uint32_t n, uint32_t r, uint32_t s) {
    // The countdown line names the same button, so both follow one choice.
    switch (ChooseTakeAllTarget(n, r, s)) {
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

const char* SingleActionSummaryLiteral(uint32_t n, uint32_t r, uint32_t s) {
    if (n != 1) return nullptr;
    if (r > 0) return kOneRestartSummaryLiteral;
    if (s > 0) return kOneShutdownSummaryLiteral;
    return kOneActionSummaryLiteral;
}

int32_t InfoLayoutHeight(int32_t anchorBottom, int32_t windowTop, uint32_t dpi) {
    return anchorBottom - windowTop + ScaleToDpi(kInfoPanelMarginPx, dpi);
}

CountdownTick NextCountdownTick(bool countdownActive, uint32_t countdownLeft) {
    if (!countdownActive) return CountdownTick::kIgnore;
    return countdownLeft > 0 ? CountdownTick::kCountDown : CountdownTick::kActivate;
}
