// UTF-8 to UTF-16: the one-shot conversion, the same bytes fed in two pieces at a fuzzed split, and
// a small strict decoder written apart from the transcoder that must agree on valid text.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "request_memory.h"
#include "text/transcoder.h"

namespace {

using Units = std::vector<uint16_t>;

struct Outcome {
    bool decoded = false;
    Units units;
};

Outcome Collect(const Utf16Text& text) {
    FUZZ_CHECK(*text.last() == 0);
    return Outcome{true, Units(text.first(), text.last())};
}

Outcome ConvertWhole(const std::string& bytes) {
    try {
        return Collect(Utf8ToUtf16(bytes.data(), bytes.data() + bytes.size()));
    } catch (const InvalidTextEncoding&) {
        return Outcome{};
    }
}

Outcome ConvertSplit(const std::string& bytes, size_t split) {
    const auto* first = reinterpret_cast<const uint8_t*>(bytes.data());
    UStringBuilder<UTF16> builder;
    StreamTranscoder<UTF16, UTF8> transcoder(&builder);
    try {
        transcoder.Start();
        transcoder.Receive(first, first + split);
        transcoder.Receive(first + split, first + bytes.size());
        transcoder.Finish();
    } catch (const InvalidTextEncoding&) {
        return Outcome{};
    }
    return Collect(builder.TakeText());
}

bool IsContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF); false when invalid.
bool ReferenceDecode(const std::string& text, Units& units) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const size_t size = text.size();
    for (size_t i = 0; i < size;) {
        const uint8_t lead = bytes[i];
        size_t length = 0;
        uint32_t value = 0;
        uint32_t minimum = 0;
        if (lead < 0x80) {
            length = 1, value = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, value = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, value = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, value = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (size - i < length) return false;
        for (size_t k = 1; k < length; ++k) {
            if (!IsContinuation(bytes[i + k])) return false;
            value = (value << 6) | (bytes[i + k] & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        if (value < 0x10000) {
            units.push_back(static_cast<uint16_t>(value));
        } else {
            units.push_back(static_cast<uint16_t>(0xD800 + ((value - 0x10000) >> 10)));
            units.push_back(static_cast<uint16_t>(0xDC00 | (value & 0x3FF)));
        }
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const size_t splitChoice = provider.ConsumeIntegral<uint16_t>();
    const std::string text = provider.ConsumeRemainingBytesAsString();
    const size_t split = splitChoice % (text.size() + 1);

    const Outcome whole = ConvertWhole(text);
    const Outcome pieces = ConvertSplit(text, split);
    FUZZ_CHECK(whole.decoded == pieces.decoded);
    FUZZ_CHECK(whole.units == pieces.units);

    Units expected;
    if (ReferenceDecode(text, expected)) {
        FUZZ_CHECK(whole.decoded);
        FUZZ_CHECK(whole.units == expected);
    }
    return 0;
}
