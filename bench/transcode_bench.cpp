// Utf8ToUtf16 against ICU's u_strFromUTF8 on the same texts, both producing an owned buffer.

#include <benchmark/benchmark.h>
#include <unicode/ustring.h>

#include <memory>
#include <string>

#include "text/transcoder.h"

namespace {

constexpr size_t kTextBytes = 64 * 1024;

std::string Repeat(const std::string& piece) {
    std::string text;
    while (text.size() + piece.size() <= kTextBytes) text += piece;
    return text;
}

const std::string& AsciiText() {
    static const std::string text = Repeat("The action will automatically start in 5 minutes. ");
    return text;
}

// Two-, three- and four-byte forms mixed with ASCII.
const std::string& MixedText() {
    static const std::string text = Repeat(
        "Gr\xc3\xbc\xc3\x9f"
        "e \xe2\x82\xac 12 \xf0\x9f\x98\x80 \xe4\xb8\xad\xe6\x96\x87 ok. ");
    return text;
}

void Zem(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        Utf16Text units = Utf8ToUtf16(text.data(), text.data() + text.size());
        benchmark::DoNotOptimize(units.first());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Icu(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        std::unique_ptr<UChar[]> units(new UChar[text.size() + 1]);
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8(units.get(), static_cast<int32_t>(text.size() + 1), &length, text.data(),
                      static_cast<int32_t>(text.size()), &status);
        if (U_FAILURE(status)) state.SkipWithError("u_strFromUTF8 failed");
        benchmark::DoNotOptimize(units.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Utf8ToUtf16Ascii(benchmark::State& state) {
    Zem(state, AsciiText());
}
void IcuFromUtf8Ascii(benchmark::State& state) {
    Icu(state, AsciiText());
}
void Utf8ToUtf16Mixed(benchmark::State& state) {
    Zem(state, MixedText());
}
void IcuFromUtf8Mixed(benchmark::State& state) {
    Icu(state, MixedText());
}

}  // namespace

BENCHMARK(Utf8ToUtf16Ascii);
BENCHMARK(IcuFromUtf8Ascii);
BENCHMARK(Utf8ToUtf16Mixed);
BENCHMARK(IcuFromUtf8Mixed);
