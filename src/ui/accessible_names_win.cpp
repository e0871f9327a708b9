#include "ui/accessible_names_win.h"

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

}  // namespace

void SetControlLabels(HWND dialog) {
    for (const ControlLabel& label : kControlLabels) {
        SetCaptionOrEnglish(dialog, label.id, label.literal);
    }
}

void DescribeDialog(HWND dialog, const char* text) {
    const std::wstring description = RequestTextToWide(text);
    if (description.empty()) {
        CurrentAccessibleDescriptions().Forget(dialog);
    } else {
        CurrentAccessibleDescriptions().Describe(dialog, description);
    }
}

void ForgetDialogDescription(HWND dialog) {
    CurrentAccessibleDescriptions().Forget(dialog);
}
