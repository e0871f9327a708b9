#include "protocol/command_handlers.h"
#include "protocol/progress_request.h"
#include "protocol/report_and_exit.h"

void HandleProgressCommand(const char* flagText, HINSTANCE) {
    ProgressRequestResult result = ReadProgressRequest(platform::StandardInput(), flagText);
    if (result.error != nullptr) ReportAndExit(-1, result.error);
    ReportAndExit(-1, "Error: PROGRESS is not available in this build");
}
