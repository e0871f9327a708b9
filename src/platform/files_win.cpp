#include <windows.h>

#include "platform/platform.h"

namespace platform {

FileHandle OpenFileForReading(const char* path) {
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

bool CloseFile(FileHandle file) {
    return ::CloseHandle(file) != FALSE;
}

uint32_t GetFileSize(FileHandle file) {
    return ::GetFileSize(file, nullptr);
}

bool SetFilePosition(FileHandle file, uint32_t offsetFromStart) {
    // Without a high word the distance is a signed LONG: offsets of 2 GiB and more fail, as they
    // do for every caller of the plain call.
    const DWORD result =
        ::SetFilePointer(file, static_cast<LONG>(offsetFromStart), nullptr, FILE_BEGIN);
    return result != INVALID_SET_FILE_POINTER;
}

bool ReadFile(FileHandle file, void* buffer, uint32_t length, uint32_t* bytesRead) {
    DWORD done = 0;
    const BOOL ok = ::ReadFile(file, buffer, length, &done, nullptr);
    *bytesRead = done;
    return ok != FALSE;
}

uint32_t LastError() {
    return ::GetLastError();
}

}  // namespace platform
