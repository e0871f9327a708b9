#include "protocol/request_framing.h"

#include <cctype>
#include <cstring>
#include <limits>
#include <new>

bool TranslateFlag = false;

namespace {

bool IsStrippedAtLineEnd(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

}  // namespace

bool ReadRequestLine(platform::RequestInput& input, char* buffer, int size) {
    for (;;) {
        if (!input.ReadLine(buffer, size)) return false;
        size_t length = std::strlen(buffer);
        while (length > 0 && IsStrippedAtLineEnd(buffer[length - 1])) buffer[--length] = '\0';
        if (length >= 2) return true;
    }
}

bool ScanNumberLine(const char* line, const char* key, int32_t& value) {
    const size_t keyLength = std::strlen(key);
    if (std::strncmp(line, key, keyLength) != 0 || line[keyLength] != ':') return false;
    const char* p = line + keyLength + 1;
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    int64_t magnitude = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) return false;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

SizedField ReadSizedField(platform::RequestInput& input, int32_t count,
                          const char* allocationFailure, const char* readFailure) {
    SizedField field;
    const size_t size = static_cast<size_t>(count < 0 ? 0 : count);
    field.bytes.reset(new (std::nothrow) char[size + 1]);
    if (!field.bytes) {
        field.error = allocationFailure;
        return field;
    }
    if (input.Read(field.bytes.get(), size) != size) {
        field.bytes.reset();
        field.error = readFailure;
        return field;
    }
    field.bytes[size] = '\0';
    return field;
}

bool ParseFlags(const char* text, const char* const* flags, size_t flagCount, bool* isSet) {
    const char* p = text;
    while (*p != '\0') {
        size_t matched = 0;
        for (size_t i = 0; i < flagCount; ++i) {
            const size_t length = std::strlen(flags[i]);
            if (std::strncmp(p, flags[i], length) == 0) {
                isSet[i] = true;
                matched = length;
                break;
            }
        }
        if (matched == 0) return false;
        p += matched;
    }
    return true;
}
