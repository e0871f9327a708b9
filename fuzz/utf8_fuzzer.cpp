// UTF-8 to UTF-16: the one-shot conversion, the same bytes fed in two pieces at a fuzzed split, and
// the unit tests' reference decoder, which must agree on every input, valid or not.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "request_memory.h"
#include "support/reference_utf8.h"
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

    const auto expected =
        ReferenceDecodeUtf8(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    FUZZ_CHECK(whole.decoded == expected.has_value());
    if (expected) FUZZ_CHECK(whole.units == *expected);
    return 0;
}
