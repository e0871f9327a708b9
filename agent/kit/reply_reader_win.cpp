#include "kit/reply_reader_win.h"

namespace zemkit {

namespace {
// Every reply of the protocol is far shorter; a longer output is not a reply.
constexpr size_t kLongestReply = 4096;
}  // namespace

ReplyReader::ReplyReader(HANDLE pipe) : pipe_(pipe) {
    thread_.Reset(CreateThread(nullptr, 0, Read, this, 0, nullptr));
}

ReplyReader::~ReplyReader() {
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
}

bool ReplyReader::Wait(DWORD ms) const {
    return !thread_ || WaitForSingleObject(thread_.get(), ms) == WAIT_OBJECT_0;
}

DWORD WINAPI ReplyReader::Read(void* self) {
    auto* reader = static_cast<ReplyReader*>(self);
    char byte = 0;
    DWORD got = 0;
    while (reader->line_.size() < kLongestReply &&
           ReadFile(reader->pipe_, &byte, 1, &got, nullptr) && got == 1) {
        reader->line_ += byte;
        if (byte == '\n') break;
    }
    return 0;
}

}  // namespace zemkit
