#include "ui/remind_combo_win.h"

#include "resource.h"
#include "ui/control_captions_win.h"
#include "ui/window_text_win.h"

namespace {

void AddEntries(HWND combo, const RemindIntervalTexts& texts, uint32_t count) {
    LiteralTracker::Mark(kRemindListLiteral);
    for (uint32_t position = 0; position < count; ++position) {
        AddComboUtf8Entry(combo, texts.text(position).range());
    }
}

}  // namespace

void FillRemindCombo(HWND dialog, const RemindIntervalTexts& texts, const RemindState& state,
                     uint32_t count) {
    HWND combo = GetDlgItem(dialog, IDC_REMIND_COMBO);
    if (combo == nullptr) return;
    AddEntries(combo, texts, count);
    SendMessageW(combo, CB_SETCURSEL, state.remindIndex, 0);
}

void SwitchRemindToImmediately(HWND dialog, RemindState& state) {
    HWND combo = GetDlgItem(dialog, IDC_REMIND_COMBO);
    if (combo == nullptr) return;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    AddComboUtf8Entry(combo, LocalizeRemindImmediately().range());
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    state.SwitchToImmediately();
}

void TrimRemindCombo(HWND dialog, const RemindIntervalTexts& texts, RemindState& state,
                     ActionDialog* owner) {
    if (state.remindImmediately) return;
    HWND combo = GetDlgItem(dialog, IDC_REMIND_COMBO);
    if (combo == nullptr) return;
    RunRemindStepOrFail(dialog, owner, [&] {
        const auto shown = static_cast<int32_t>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        const RemindTrim trim = PlanRemindTrim(shown, state.maxRemindLeft, state.remindIndex);
        switch (trim.action) {
            case RemindTrim::kKeep:
                return;
            case RemindTrim::kSwitchToImmediately:
                SwitchRemindToImmediately(dialog, state);
                return;
            case RemindTrim::kRebuild:
                SendMessageW(combo, CB_RESETCONTENT, 0, 0);
                AddEntries(combo, texts, trim.entryCount);
                SendMessageW(combo, CB_SETCURSEL, trim.selection, 0);
                state.remindIndex = trim.selection;
                UpdateWindow(combo);
                return;
        }
    });
}

void ChooseRemindEntry(HWND combo, RemindState& state) {
    uint32_t selection = 0;
    if (ReadComboSelection(combo, selection)) state.remindIndex = selection;
}
