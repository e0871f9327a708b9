#pragma once

#include <cstdint>

#include "io/debuggable_exception.h"

// Every failure of the file layer is one of these, so that callers can catch by kind.
class FileIOError : public DebuggableException {
  public:
    FileIOError() = default;
    explicit FileIOError(uint32_t code) : errorCode(code) {}

    // The Win32 error code when no subclass names the failure; 0 for every subclass.
    uint32_t errorCode = 0;
};

class FileNotFoundError : public FileIOError {};
class DirectoryNotFoundError : public FileIOError {};
class FilePermissionError : public FileIOError {};
class FileLockError : public FileIOError {};
class DiskFullError : public FileIOError {};
class FileSeekError : public FileIOError {};
class EndOfFileError : public FileIOError {};

// The reading loop found the file at its end while bytes were still expected.
class FileReadingLoopEndOfFileError : public DebuggableException {};

// After CreateFileA, CloseHandle and GetFileSize: raises the error class for `code`; 0 returns.
void RaiseFileError(uint32_t code);
// After ReadFile: raises the error class for `code`; 0 returns.
void RaiseReadError(uint32_t code);
