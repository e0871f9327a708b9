#include <string>

#include "app/command_handlers_win.h"
#include "app/dialog_common_win.h"
#include "app/report_and_exit_win.h"
#include "format/local_time.h"
#include "format/translation.h"
#include "protocol/remind_reply.h"
#include "protocol/remind_request.h"
#include "ui/reminder/reminder_dialog_win.h"

void HandleRemindCommand(const char* flagText) {
    // Every deadline counts from this one instant, however long reading takes.
    const Timestamp startTime = CurrentTimestamp();
    RemindRequestResult result = ReadRemindRequest(platform::StandardInput(), flagText, startTime);
    if (result.error != nullptr) ReportAndExit(-1, result.error);
    RemindRequest& request = result.request;
    LoadRequestedTranslation(request.translationPath.get());
    // The pixels stay with this frame, which lives until the process ends.
    IconImage image = DecodeIconFile(request.imagePath.get());
    RemindOutcome outcome;
    {
        ReminderSettings settings;
        settings.autoTakeAll = request.autoTakeAll;
        settings.autoSeconds = static_cast<uint32_t>(request.autoTime);
        settings.remindTime = static_cast<uint32_t>(request.remindTime);
        settings.shortestPostpone = request.shortestPostpone;
        settings.title = request.title.get();
        settings.common = CommonDialogSettings(image, request.taskbar);
        ActionReminderDialog dialog(settings);
        for (const ActionItem& item : request.actions) dialog.AddActionItem(item);
        dialog.LoadWindowIcon(request.imagePath.get());
        dialog.Run();
        outcome.remindRequested = dialog.IsRemindRequested();
        outcome.takenAutomatically = dialog.IsTakenAutomatically();
        outcome.takeAllRequested = dialog.IsTakeAllRequested();
        outcome.actionTaken = dialog.IsActionTaken();
        outcome.cancelled = dialog.IsCancelled();
        outcome.remindSeconds = dialog.GetRemindSeconds();
        outcome.currentActionId = dialog.GetCurrentActionId();
    }
    const std::string reply = RemindReply(outcome);
    ReportAndExit(0, reply.c_str());
}
