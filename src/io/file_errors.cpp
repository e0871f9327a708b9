#include "io/file_errors.h"

#include <algorithm>
#include <iterator>

#include "platform/platform.h"

namespace {

constexpr uint32_t kNoError = 0;

// Codes meaning the same failure whether opening or reading.
constexpr uint32_t kLockCodes[] = {33, 108, 167};
constexpr uint32_t kPermissionCodes[] = {5,  12, 19, 29, 54,  58,  64, 65,
                                         71, 80, 82, 86, 170, 183, 999};

// Opening only: a name or a volume that is not there, a full disk.
constexpr uint32_t kNotFoundCodes[] = {2, 6, 18, 107};
constexpr uint32_t kDirectoryNotFoundCodes[] = {3,   15,  17,  34,  52,  53,  55,  67,  70,  85,
                                                111, 123, 124, 125, 144, 154, 161, 206, 208, 267};
constexpr uint32_t kDiskFullCodes[] = {39, 112};

// Reading only: the seek failures (a sharing violation also counts as refused permission there).
constexpr uint32_t kSeekCodes[] = {24, 25, 27, 30, 131, 132};

template <size_t N>
bool Contains(const uint32_t (&codes)[N], uint32_t code) {
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

}  // namespace

void RaiseFileError(uint32_t code) {
    if (code == kNoError) return;
    if (Contains(kNotFoundCodes, code)) throw FileNotFoundError();
    if (Contains(kDirectoryNotFoundCodes, code)) throw DirectoryNotFoundError();
    if (Contains(kPermissionCodes, code)) throw FilePermissionError();
    if (Contains(kLockCodes, code)) throw FileLockError();
    if (Contains(kDiskFullCodes, code)) throw DiskFullError();
    throw FileIOError(code);
}

void RaiseReadError(uint32_t code) {
    if (code == kNoError) return;
    if (code == platform::error::kHandleEof) throw EndOfFileError();
    if (Contains(kSeekCodes, code)) throw FileSeekError();
    if (Contains(kLockCodes, code)) throw FileLockError();
    if (code == platform::error::kSharingViolation || Contains(kPermissionCodes, code))
        throw FilePermissionError();
    throw FileIOError(code);
}
