#include "ui/accessible_names_win.h"

#include <map>
#include <string>

#include "platform/accessible_description_win.h"
#include "resource.h"
#include "ui/accessible_texts.h"
#include "ui/control_captions_win.h"
#include "ui/window_text_win.h"

namespace {

struct ControlLabel {
    int id;
    const char* literal;
};

constexpr ControlLabel kControlLabels[] = {
    {IDC_MESSAGE_LABEL, kMessageLabelLiteral},
    {IDC_REMIND_LABEL, kRemindListLabelLiteral},
    {IDC_ACTION_LABEL, kActionListLabelLiteral},
    {IDC_PREVIEW_LABEL, kPreviewLabelLiteral},
};

// Descriptions waiting for their dialog to show (one at most per window, the latest).
std::map<HWND, std::wstring> pendingDescriptions;

}  // namespace

void SetControlLabels(HWND dialog) {
    for (const ControlLabel& label : kControlLabels) {
        SetCaptionOrEnglish(dialog, label.id, label.literal);
    }
}

void DescribeDialog(HWND dialog, const char* text) {
    const bool queued = pendingDescriptions.count(dialog) != 0;
    pendingDescriptions[dialog] = RequestTextToWide(text);
    if (!queued) PostMessageW(dialog, kApplyDescriptionMessage, 0, 0);
}

void ApplyDialogDescription(HWND dialog) {
    const auto pending = pendingDescriptions.find(dialog);
    if (pending == pendingDescriptions.end()) return;
    const std::wstring description = std::move(pending->second);
    pendingDescriptions.erase(pending);
    if (description.empty()) {
        CurrentAccessibleDescriptions().Forget(dialog);
    } else {
        CurrentAccessibleDescriptions().Describe(dialog, description);
    }
}

void ForgetDialogDescription(HWND dialog) {
    pendingDescriptions.erase(dialog);
    CurrentAccessibleDescriptions().Forget(dialog);
}
