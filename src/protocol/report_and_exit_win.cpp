#include "protocol/report_and_exit_win.h"

#include <io.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr DWORD kLingerAfterReplyMs = 2000;
constexpr int kStandardOutputDescriptor = 1;

struct OutputLockInitializer {
    OutputLockInitializer() { InitializeCriticalSection(&OutputLock); }
};

}  // namespace

CRITICAL_SECTION OutputLock;
bool RepliedFlag = false;

static OutputLockInitializer outputLockInitializer;

void WriteReplyLine(const char* text) {
    // One write, so the agent never sees the line without its end.
    const size_t length = std::strlen(text);
    std::unique_ptr<char[]> line(new (std::nothrow) char[length + 1]);
    if (line) {
        std::memcpy(line.get(), text, length);
        line[length] = '\n';
        _write(kStandardOutputDescriptor, line.get(), static_cast<unsigned>(length + 1));
    } else {
        _write(kStandardOutputDescriptor, text, static_cast<unsigned>(length));
        _write(kStandardOutputDescriptor, "\n", 1);
    }
}

void ReportAndExit(int exitCode, const char* text) {
    EnterCriticalSection(&OutputLock);  // never left: the process ends holding it
    if (!RepliedFlag) {
        RepliedFlag = true;
        if (text != nullptr) WriteReplyLine(text);
        std::fflush(stdout);
        std::fclose(stdout);
    }
    Sleep(kLingerAfterReplyMs);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    for (;;) Sleep(INFINITE);  // TerminateProcess does not return for the current process
}
