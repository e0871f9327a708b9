#include "ui/remind_combo_win.h"

#include "resource.h"
#include "ui/window_text_win.h"

namespace {

void AddEntry(HWND combo, const Utf8Text& text) {
    AddComboUtf8Entry(combo, text.range());
}

void AddEntries(HWND combo, const RemindIntervalTexts& texts, uint32_t count,
                const char*& currentLiteral) {
    currentLiteral = kRemindListLiteral;
    for (uint32_t position = 0; position < count; ++position) AddEntry(combo, texts.text(position));
}

}  // namespace

void FillRemindCombo(HWND dialog, const RemindIntervalTexts& texts, const RemindState& state,
                     const char*& currentLiteral, uint32_t count) {
    HWND combo = GetDlgItem(dialog, IDC_REMIND_COMBO);
    if (combo == nullptr) return;
    AddEntries(combo, texts, count, currentLiteral);
    SendMessageA(combo, CB_SETCURSEL, state.remindIndex, 0);
}

void SwitchRemindToImmediately(HWND dialog, RemindState& state) {
    HWND combo = GetDlgItem(dialog, IDC_REMIND_COMBO);
    if (combo == nullptr) return;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    AddEntry(combo, LocalizeRemindImmediately());
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    state.SwitchToImmediately();
}

void TrimRemindCombo(HWND dialog, const RemindIntervalTexts& texts, RemindState& state,
                     ActionDialog* owner, const char*& currentLiteral) {
    if (state.remindImmediately) return;
    HWND combo = GetDlgItem(dialog, IDC_REMIND_COMBO);
    if (combo == nullptr) return;
    RunRemindStepOrFail(dialog, owner, currentLiteral, [&] {
        const auto shown = static_cast<int32_t>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        const RemindTrim trim = PlanRemindTrim(shown, state.maxRemindLeft, state.remindIndex);
        switch (trim.action) {
            case RemindTrim::kKeep:
                return;
            case RemindTrim::kSwitchToImmediately:
                SwitchRemindToImmediately(dialog, state);
                return;
            case RemindTrim::kRebuild:
                SendMessageA(combo, CB_RESETCONTENT, 0, 0);
                AddEntries(combo, texts, trim.entryCount, currentLiteral);
                SendMessageA(combo, CB_SETCURSEL, trim.selection, 0);
                state.remindIndex = trim.selection;
                UpdateWindow(combo);
                return;
        }
    });
}
