#pragma once

#include <cstdint>

#include "format/format_errors.h"
#include "format/text_range.h"

// Decimal numbers through the translatable number template: a translation may replace the minus
// sign, each digit character and the arrangement of the digits (group separators, other scripts).
// Each throws what Localize throws for a broken translation of the number template.

// The number whose sign is `negative` and whose magnitude is `magnitude`. Throws
// NumberCannotBeFormatted if the magnitude had more digits than the template has positions.
Utf8Text FormatNumber(bool negative, uint64_t magnitude);

inline Utf8Text FormatUnsigned(uint64_t value) {
    return FormatNumber(false, value);
}

// The most negative value has the magnitude 2 to the 63rd, which still fits the unsigned type.
inline Utf8Text FormatSigned(int64_t value) {
    const uint64_t bits = static_cast<uint64_t>(value);
    return value < 0 ? FormatNumber(true, 0 - bits) : FormatNumber(false, bits);
}
