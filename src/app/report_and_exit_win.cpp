#include "app/report_and_exit_win.h"

namespace {

constexpr DWORD kLingerAfterReplyMs = 2000;

}  // namespace

void ReportAndExit(int exitCode, const char* text) {
    // Never left: the process ends holding it, so a second caller cannot end it with its own code.
    EnterCriticalSection(&OutputLock);
    WriteOneReply(OutputLock, RepliedFlag, text);
    Sleep(kLingerAfterReplyMs);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    for (;;) Sleep(INFINITE);  // TerminateProcess does not return for the current process
}
