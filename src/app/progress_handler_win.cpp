#include "app/command_handlers_win.h"
#include "app/dialog_common_win.h"
#include "app/report_and_exit_win.h"
#include "format/translation.h"
#include "protocol/progress_request.h"
#include "ui/progress_dialog_win.h"

void HandleProgressCommand(const char* flagText) {
    ProgressRequestResult result = ReadProgressRequest(platform::StandardInput(), flagText);
    if (result.error != nullptr) ReportAndExit(-1, result.error);
    ProgressRequest& request = result.request;
    LoadRequestedTranslation(request.translationPath.get());
    // The pixels stay with this frame, which lives until the process ends.
    IconImage image = DecodeIconFile(request.imagePath.get());
    {
        ProgressDialogSettings settings;
        settings.title = request.title.get();
        settings.message = request.message.get();
        settings.common = CommonDialogSettings(image, request.taskbar);
        ActionProgressDialog dialog(settings);
        dialog.LoadWindowIcon(request.imagePath.get());
        dialog.Run();
    }
    ReportAndExit(0, "OK");
}
