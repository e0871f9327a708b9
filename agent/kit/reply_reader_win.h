#pragma once

// Reads the product's reply on a thread of its own, so that the caller can wait for it with a
// deadline: the read of an anonymous pipe cannot be given one.

#include <windows.h>

#include <string>

#include "platform/handles_win.h"

namespace zemkit {

class ReplyReader {
  public:
    // Reads from `pipe` until a line feed or the end of the output.
    explicit ReplyReader(HANDLE pipe);
    // Waits for the reader thread; on a time-out, the caller ends the writer (the product), which
    // ends the read, before the reader goes.
    ~ReplyReader();
    ReplyReader(const ReplyReader&) = delete;
    ReplyReader& operator=(const ReplyReader&) = delete;

    // True once the line or the end of the output arrived within `ms`.
    bool Wait(DWORD ms) const;
    bool HasLine() const { return line_.find('\n') != std::string::npos; }
    const std::string& Line() const { return line_; }

  private:
    static DWORD WINAPI Read(void* self);

    HANDLE pipe_;
    std::string line_;
    ScopedKernelHandle thread_;
};

}  // namespace zemkit
