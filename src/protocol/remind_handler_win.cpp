#include "protocol/command_handlers.h"
#include "protocol/report_and_exit.h"
#include "protocol/request_framing.h"

void HandleRemindCommand(const char* flagText, HINSTANCE) {
    const char* const flags[] = {":AUTOTAKEACTION", ":AUTO", ":XLATE", ":TASKBAR"};
    bool isSet[4] = {};
    if (!ParseFlags(flagText, flags, 4, isSet)) ReportAndExit(-1, "Error: Bad command");
    ReportAndExit(-1, "Error: REMIND is not available in this build");
}
