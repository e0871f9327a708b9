#include "app/reply_output_win.h"

#include <io.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kStandardOutputDescriptor = 1;

struct OutputLockInitializer {
    OutputLockInitializer() { InitializeCriticalSection(&OutputLock); }
};

// Bypasses the stream buffer.
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

}  // namespace

CRITICAL_SECTION OutputLock;
bool RepliedFlag = false;

static OutputLockInitializer outputLockInitializer;

void WriteOneReply(CRITICAL_SECTION& lock, bool& repliedFlag, const char* text) {
    EnterCriticalSection(&lock);
    if (!repliedFlag) {
        repliedFlag = true;
        if (text != nullptr) WriteReplyLine(text);
        std::fflush(stdout);
        std::fclose(stdout);
    }
    LeaveCriticalSection(&lock);
}
