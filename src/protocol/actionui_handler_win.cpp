#include <cstdio>

#include "format/translation.h"
#include "protocol/actionui_request.h"
#include "protocol/command_handlers_win.h"
#include "protocol/icon/icon_decoder.h"
#include "protocol/report_and_exit_win.h"
#include "ui/preaction/preaction_dialog_win.h"

namespace {

// "REMIND:" and the chosen seconds; large enough for any 32-bit value.
constexpr size_t kRemindReplySize = 32;

}  // namespace

void HandleActionUiCommand(const char* flagText, HINSTANCE instance) {
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
        PreActionDialog dialog(
            request.autoRequested, request.remindOffered, request.previewAvailable,
            request.cancelAllowed, request.autoTime, request.remindTime, request.maxRemindTime,
            request.title.get(), request.message.get(), request.previewText.get(),
            request.autoMessage.get(), request.buttonText.get(), image.width(), image.height(),
            image.pixels(), instance, &OutputLock, &RepliedFlag, request.taskbar);
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
