#pragma once

// The line and field framing shared by every request: request lines, number lines, sized fields
// and command flags. Portable: it reads through platform::RequestInput, so that tests and fuzzers
// feed it from files or memory exactly as the product reads its standard input.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/platform.h"

constexpr int kRequestBufferSize = 16000;

// The process-wide ":XLATE" flag: set by any command's flags, it makes the command read an
// "XLATEPATH:%d" field.
extern bool TranslateFlag;

// Reads the next line that still has at least two characters once trailing blanks, tabs and line
// feeds are stripped (carriage returns are kept). A read takes at most size - 1 characters, so a
// longer physical line arrives as several. False at end of input or on a read error.
bool ReadRequestLine(platform::RequestInput& input, char* buffer, int size);

// Scans `line` as "<key>:%d": the exact key and colon, then optional blanks, an optional sign and
// decimal digits; text after the number is ignored. A number outside the 32-bit range fails the
// scan rather than wrapping into a plausible count.
bool ScanNumberLine(const char* line, const char* key, int32_t& value);

// An owned, zero-terminated byte text as received; null when the request did not carry it.
using ByteText = std::unique_ptr<char[]>;

// The result of reading a sized field: the bytes, or the reply that ends the request.
struct SizedField {
    ByteText bytes;               // count + 1 bytes, the last one NUL
    const char* error = nullptr;  // the allocation or read failure message
};

// Allocates count + 1 bytes and reads exactly `count` bytes from the same stream the lines come
// from; line reading resumes right after them.
SizedField ReadSizedField(platform::RequestInput& input, int32_t count,
                          const char* allocationFailure, const char* readFailure);

// Matches the flag text against `flags` by prefix, in their fixed order, at each position; sets
// `isSet[i]` for every flag found. False when some text matches no flag.
bool ParseFlags(const char* text, const char* const* flags, size_t flagCount, bool* isSet);

// A failure reply, with its exit code.
struct RequestFailure {
    const char* reply = nullptr;
    int exitCode = -1;
};
