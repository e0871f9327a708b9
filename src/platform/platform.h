#pragma once

// The thin OS layer under the portable core. On Windows each call is the Win32 function of the
// same name; the native build has small stand-ins written from the same contract, so that the
// core (and its unit tests) behave alike on both. No Win32 type appears here.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

// ---- Files: CreateFileA, CloseHandle, GetFileSize, SetFilePointer, ReadFile, GetLastError ----

using FileHandle = void*;  // null when no file is open
constexpr uint32_t kInvalidFileSize = 0xFFFFFFFFu;

// Win32 error codes the native stand-ins produce (the Windows build simply passes them through).
namespace error {
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kTooManyOpenFiles = 4;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kNotEnoughMemory = 8;
constexpr uint32_t kSharingViolation = 32;
constexpr uint32_t kHandleEof = 38;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kDiskFull = 112;
constexpr uint32_t kInvalidName = 123;
constexpr uint32_t kFilenameTooLong = 206;
}  // namespace error

// CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
// nullptr). Returns null on failure; LastError() tells why.
FileHandle OpenFileForReading(const char* path);
// CloseHandle. False on failure, with LastError() set.
bool CloseFile(FileHandle file);
// GetFileSize without the high word: kInvalidFileSize on failure (LastError() non-zero then).
uint32_t GetFileSize(FileHandle file);
// SetFilePointer(file, offset, nullptr, FILE_BEGIN). False on failure.
bool SetFilePosition(FileHandle file, uint32_t offsetFromStart);
// ReadFile. False on failure, with LastError() set; *bytesRead may be short of length.
bool ReadFile(FileHandle file, void* buffer, uint32_t length, uint32_t* bytesRead);
// GetLastError of the calling thread.
uint32_t LastError();

// ---- Time: GetLocalTime and GetTimeZoneInformation ----

struct SystemTime {  // the fields of SYSTEMTIME, in its order
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

struct TimeZoneInformation {  // the fields of TIME_ZONE_INFORMATION that the core reads
    int32_t bias = 0;
    uint16_t standardDateMonth = 0;
    int32_t standardBias = 0;
    uint16_t daylightDateMonth = 0;
    int32_t daylightBias = 0;
};

constexpr uint32_t kTimeZoneIdUnknown = 0;
constexpr uint32_t kTimeZoneIdStandard = 1;
constexpr uint32_t kTimeZoneIdDaylight = 2;
constexpr uint32_t kTimeZoneIdInvalid = 0xFFFFFFFFu;

void GetLocalTime(SystemTime& time);
// Fills `info` (zero-filled first) and returns the result code (kTimeZoneId...).
uint32_t GetTimeZoneInformation(TimeZoneInformation& info);

// ---- Request input: standard input in the C runtime's text mode ----

// A byte stream read the way the runtime's text mode delivers it: CR LF reaches the reader as a
// single LF (a lone CR stays), and a byte 0x1A ends the input as if the pipe had been closed.
class RequestInput {
  public:
    virtual ~RequestInput() = default;
    // fgets: reads up to and including a line feed, at most size - 1 bytes, and appends a NUL.
    // False at end of input or on a read error when nothing was read.
    virtual bool ReadLine(char* buffer, int size) = 0;
    // fread: reads up to count bytes, waiting until they arrive or the input ends; returns the
    // number read.
    virtual size_t Read(void* buffer, size_t count) = 0;
};

// The process's standard input (left in text mode).
RequestInput& StandardInput();
// A file opened for reading in text mode; null when it cannot be opened. Used by tests.
std::unique_ptr<RequestInput> OpenRequestFile(const char* path);

}  // namespace platform
