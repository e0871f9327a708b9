#include "protocol/command_handlers.h"
#include "protocol/report_and_exit.h"
#include "protocol/request_framing.h"

void HandleActionUiCommand(const char* flagText, HINSTANCE) {
    const char* const flags[] = {":PREVIEW", ":CANCEL", ":REMIND", ":AUTO", ":XLATE", ":TASKBAR"};
    bool isSet[6] = {};
    if (!ParseFlags(flagText, flags, 6, isSet)) ReportAndExit(-1, "Error: Bad command");
    ReportAndExit(-1, "Error: ACTIONUI is not available in this build");
}
