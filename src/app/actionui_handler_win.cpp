#include <cstdio>

#include "app/command_handlers_win.h"
#include "app/dialog_common_win.h"
#include "app/report_and_exit_win.h"
#include "format/translation.h"
#include "protocol/actionui_request.h"
#include "ui/preaction/preaction_dialog_win.h"

namespace {

// "REMIND:" and the chosen seconds; large enough for any 32-bit value.
constexpr size_t kRemindReplySize = 32;

// Compared unsigned, as the agent's numbers are.
PreActionSettings SettingsFor(const ActionUiRequest& request, IconImage& image) {
    PreActionSettings settings;
    settings.remindOffered = request.remindOffered;
    settings.previewOffered = request.previewAvailable;
    settings.cancelOffered = request.cancelAllowed;
    settings.autoSeconds = static_cast<uint32_t>(request.autoTime);
    settings.remindTime = static_cast<uint32_t>(request.remindTime);
    settings.maxRemindTime = static_cast<uint32_t>(request.maxRemindTime);
    settings.title = request.title.get();
    settings.message = request.message.get();
    settings.previewText = request.previewText.get();
    settings.buttonText = request.buttonText.get();
    settings.common = CommonDialogSettings(image, request.taskbar);
    return settings;
}

}  // namespace

void HandleActionUiCommand(const char* flagText) {
    ActionUiRequestResult result = ReadActionUiRequest(platform::StandardInput(), flagText);
    if (result.error != nullptr) ReportAndExit(-1, result.error);
    ActionUiRequest& request = result.request;
    LoadRequestedTranslation(request.translationPath.get());
    // The pixels stay with this frame, which lives until the process ends.
    IconImage image = DecodeIconFile(request.imagePath.get());
    bool remindChosen = false;
    uint32_t remindSeconds = 0;
    bool actionTaken = false;
    bool takenAutomatically = false;
    bool cancelled = false;
    {
        PreActionDialog dialog(SettingsFor(request, image));
        dialog.LoadWindowIcon(request.imagePath.get());
        dialog.Run();
        remindChosen = dialog.IsRemindChosen();
        remindSeconds = dialog.GetRemindSeconds();
        actionTaken = dialog.IsActionTaken();
        takenAutomatically = dialog.IsTakenAutomatically();
        cancelled = dialog.IsCancelled();
    }
    if (remindChosen) {
        char reply[kRemindReplySize];
        std::snprintf(reply, sizeof reply, "REMIND:%u", static_cast<unsigned>(remindSeconds));
        ReportAndExit(0, reply);
    }
    if (actionTaken) ReportAndExit(0, takenAutomatically ? "OKAUTO" : "OK");
    if (cancelled) ReportAndExit(0, "CANCEL");
    // Session end (already reported), the stop event, or a recorded failure.
    ReportAndExit(0, "CLOSED");
}
