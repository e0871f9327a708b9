#include "app/reply_output_win.h"

#include <cstring>

namespace {

// Longer than any reply the program writes; a longer text is still written, without its line
// end in the same write.
constexpr size_t kReplyBufferSize = 256;

struct OutputLockInitializer {
    OutputLockInitializer() { InitializeCriticalSection(&OutputLock); }
};

void WriteAll(HANDLE output, const char* bytes, size_t length) {
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(output, bytes, static_cast<DWORD>(length), &written, nullptr) ||
            written == 0) {
            return;
        }
        bytes += written;
        length -= written;
    }
}

// Straight to the standard output handle, from a buffer on the stack: this runs on the crash path
// too, where the heap or a lock of the C runtime's streams may be broken. One write, so the agent
// never sees the line without its end.
void WriteReplyLine(HANDLE output, const char* text) {
    const size_t length = std::strlen(text);
    if (length >= kReplyBufferSize) {
        WriteAll(output, text, length);
        WriteAll(output, "\n", 1);
        return;
    }
    char line[kReplyBufferSize];
    std::memcpy(line, text, length);
    line[length] = '\n';
    WriteAll(output, line, length + 1);
}

}  // namespace

CRITICAL_SECTION OutputLock;
bool RepliedFlag = false;

static OutputLockInitializer outputLockInitializer;

void WriteOneReply(CRITICAL_SECTION& lock, bool& repliedFlag, const char* text) {
    EnterCriticalSection(&lock);
    if (!repliedFlag) {
        repliedFlag = true;
        HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
        if (output != nullptr && output != INVALID_HANDLE_VALUE) {
            if (text != nullptr) WriteReplyLine(output, text);
            // The agent reads to the end of the stream; nothing else writes to it.
            CloseHandle(output);
        }
    }
    LeaveCriticalSection(&lock);
}
