#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "platform/platform.h"

// POSIX stand-ins for the Win32 file calls. Failures report the Win32 code that Windows gives in
// the same situation, so that the core's error tables see the same codes on both builds.
namespace platform {
namespace {

constexpr uint32_t kNegativeSeek = 131;  // ERROR_NEGATIVE_SEEK: SetFilePointer's LONG distance
constexpr uint32_t kMaxSignedDistance = 0x7FFFFFFFu;

thread_local uint32_t lastError = 0;

FileHandle HandleFromDescriptor(int descriptor) {
    // Descriptor 0 is valid, so the handle is offset by one to keep null meaning "no file".
    return reinterpret_cast<FileHandle>(static_cast<intptr_t>(descriptor) + 1);
}

int DescriptorFromHandle(FileHandle file) {
    return static_cast<int>(reinterpret_cast<intptr_t>(file) - 1);
}

bool ParentDirectoryExists(const std::string& path) {
    const size_t separator = path.find_last_of('/');
    if (separator == std::string::npos) return true;  // the current directory
    const std::string parent = separator == 0 ? "/" : path.substr(0, separator);
    struct stat info;
    return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

uint32_t OpenErrorCode(int error, const char* path) {
    switch (error) {
        case ENOENT:
            // Windows tells a missing file (2) from a missing directory on the way (3).
            return (*path != '\0' && ParentDirectoryExists(path)) ? error::kFileNotFound
                                                                  : error::kPathNotFound;
        case ENOTDIR:
            return error::kPathNotFound;
        case EACCES:
        case EPERM:
        case EISDIR:
            return error::kAccessDenied;
        case EMFILE:
        case ENFILE:
            return error::kTooManyOpenFiles;
        case ENAMETOOLONG:
            return error::kFilenameTooLong;
        case ENOMEM:
            return error::kNotEnoughMemory;
        case EINVAL:
            return error::kInvalidName;
        default:
            return error::kInvalidParameter;
    }
}

uint32_t IoErrorCode(int error) {
    switch (error) {
        case EBADF:
            return error::kInvalidHandle;
        case EISDIR:
        case EACCES:
        case EPERM:
            return error::kAccessDenied;
        case ENOSPC:
            return error::kDiskFull;
        default:
            return error::kInvalidParameter;
    }
}

}  // namespace

FileHandle OpenFileForReading(const char* path) {
    const int descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        lastError = OpenErrorCode(errno, path);
        return nullptr;
    }
    // CreateFileA refuses a directory without backup semantics; open(2) accepts one.
    struct stat info;
    if (::fstat(descriptor, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(descriptor);
        lastError = error::kAccessDenied;
        return nullptr;
    }
    return HandleFromDescriptor(descriptor);
}

bool CloseFile(FileHandle file) {
    if (::close(DescriptorFromHandle(file)) != 0) {
        lastError = IoErrorCode(errno);
        return false;
    }
    return true;
}

uint32_t GetFileSize(FileHandle file) {
    struct stat info;
    if (::fstat(DescriptorFromHandle(file), &info) != 0) {
        lastError = IoErrorCode(errno);
        return kInvalidFileSize;
    }
    // Only the low word, as GetFileSize without a high-word pointer; success clears the code so
    // that a size of all ones can be told from a failure.
    lastError = 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(info.st_size));
}

bool SetFilePosition(FileHandle file, uint32_t offsetFromStart) {
    if (offsetFromStart > kMaxSignedDistance) {
        lastError = kNegativeSeek;
        return false;
    }
    if (::lseek(DescriptorFromHandle(file), static_cast<off_t>(offsetFromStart), SEEK_SET) < 0) {
        lastError = IoErrorCode(errno);
        return false;
    }
    return true;
}

bool ReadFile(FileHandle file, void* buffer, uint32_t length, uint32_t* bytesRead) {
    // A disk ReadFile delivers everything asked for unless the file ends; read(2) may stop short.
    auto* bytes = static_cast<unsigned char*>(buffer);
    uint32_t done = 0;
    while (done < length) {
        const ssize_t got = ::read(DescriptorFromHandle(file), bytes + done, length - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            *bytesRead = done;
            lastError = IoErrorCode(errno);
            return false;
        }
        if (got == 0) break;
        done += static_cast<uint32_t>(got);
    }
    *bytesRead = done;
    return true;
}

uint32_t LastError() {
    return lastError;
}

}  // namespace platform
