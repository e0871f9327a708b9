#pragma once

// A UTF-8 decoder written apart from the transcoder, shared by its unit tests and its fuzzer:
// sequence length from the lead byte, then the value. It accepts what the transcoder accepts:
// overlong forms, but no encoded surrogates and nothing past U+10FFFF.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The UTF-16 units of `bytes`, or nothing when they are not such text.
inline std::optional<std::vector<uint16_t>> ReferenceDecodeUtf8(const uint8_t* bytes, size_t size) {
    std::vector<uint16_t> units;
    size_t i = 0;
    while (i < size) {
        const uint8_t lead = bytes[i];
        size_t length = 0;
        uint32_t value = 0;
        if (lead < 0x80) {
            length = 1, value = lead;
        } else if (lead >= 0xC0 && lead <= 0xDF) {
            length = 2, value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF7) {
            length = 4, value = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + length > size) return std::nullopt;
        for (size_t k = 1; k < length; ++k) {
            if (bytes[i + k] < 0x80 || bytes[i + k] > 0xBF) return std::nullopt;
            value = value << 6 | (bytes[i + k] - 0x80);
        }
        if (length == 3 && value >= 0xD800 && value <= 0xDFFF) return std::nullopt;
        if (length == 4 && (value < 0x10000 || value > 0x10FFFF)) return std::nullopt;
        if (value >= 0x10000) {
            units.push_back(static_cast<uint16_t>(0xD800 + ((value - 0x10000) >> 10)));
            units.push_back(static_cast<uint16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<uint16_t>(value));
        }
        i += length;
    }
    return units;
}
