#include <cstddef>

#include "platform/platform.h"

namespace platform {
namespace {

// What Windows-1252 writes for a character it lacks.
constexpr char kDefaultCharacter = '?';

constexpr uint16_t kHighSurrogateFirst = 0xD800;
constexpr uint16_t kLowSurrogateFirst = 0xDC00;
constexpr uint16_t kLowSurrogateLast = 0xDFFF;

// The characters Windows-1252 places at 0x80..0x9F; 0 where Windows maps the C1 control itself.
constexpr uint16_t kHighControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsHighSurrogate(uint16_t unit) {
    return unit >= kHighSurrogateFirst && unit < kLowSurrogateFirst;
}
bool IsLowSurrogate(uint16_t unit) {
    return unit >= kLowSurrogateFirst && unit <= kLowSurrogateLast;
}

// The Windows-1252 byte of one UTF-16 unit that is not part of a surrogate pair.
char Windows1252Byte(uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (size_t i = 0; i < 32; ++i) {
        const uint16_t mapped = kHighControlRange[i];
        if (unit == (mapped != 0 ? mapped : 0x80 + i)) return static_cast<char>(0x80 + i);
    }
    return kDefaultCharacter;  // lone surrogates included
}

}  // namespace

// Stands in for code page 0 as Windows-1252. A surrogate pair is one character, so it becomes one
// default character. As on Windows: count -1 reads up to and including a terminating zero,
// outSize 0 asks for the size needed, and count 0 or a too small output fails with 0.
int WideCharToMultiByte(uint32_t /*codePage*/, const uint16_t* units, int count, char* out,
                        int outSize) {
    if (units == nullptr || count == 0 || count < -1 || outSize < 0) return 0;
    if (count == -1) {
        count = 0;
        while (units[count] != 0) ++count;
        ++count;
    }
    int written = 0;
    for (int i = 0; i < count; ++i) {
        char byte = Windows1252Byte(units[i]);
        if (IsHighSurrogate(units[i]) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
            byte = kDefaultCharacter;
            ++i;
        }
        if (outSize != 0) {
            if (written == outSize) return 0;  // the output is too small
            out[written] = byte;
        }
        ++written;
    }
    return written;
}

}  // namespace platform
