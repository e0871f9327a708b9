#include "format/translation.h"
#include "protocol/command_handlers_win.h"
#include "protocol/icon/icon_decoder.h"
#include "protocol/progress_request.h"
#include "protocol/report_and_exit_win.h"
#include "ui/progress_dialog_win.h"

void HandleProgressCommand(const char* flagText, HINSTANCE instance) {
    ProgressRequestResult result = ReadProgressRequest(platform::StandardInput(), flagText);
    if (result.error != nullptr) ReportAndExit(-1, result.error);
    ProgressRequest& request = result.request;
    LoadRequestedTranslation(request.translationPath.get());
    // The pixels stay with this frame, which lives until the process ends.
    IconImage image = DecodeIconFile(request.imagePath.get());
    {
        ActionProgressDialog dialog(request.title.get(), request.message.get(), image.width(),
                                    image.height(), image.pixels(), instance, &OutputLock,
                                    &RepliedFlag, request.taskbar);
        dialog.LoadWindowIcon(request.imagePath.get());
        dialog.Run();
    }
    ReportAndExit(0, "OK");
}
