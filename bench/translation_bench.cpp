// Parsing a translation file of 100,000 lines (the copy into the table's own buffer included),
// and looking keys up in the result.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "format/translation.h"

namespace {

constexpr int kLines = 100000;

// Keys in no particular order, so that the sort does real work.
const std::string& TranslationFile() {
    static const std::string file = [] {
        std::string text;
        for (int i = 0; i < kLines; ++i) {
            const int key = (i * 7919) % kLines;
            text += "Message number " + std::to_string(key) + " of the agent\tnote\tNachricht " +
                    std::to_string(key) + "\r\n";
        }
        return text;
    }();
    return file;
}

std::unique_ptr<TranslationTable> ParseTable() {
    const std::string& file = TranslationFile();
    std::unique_ptr<char[]> bytes(new char[file.size()]);
    std::memcpy(bytes.get(), file.data(), file.size());
    return std::make_unique<TranslationTable>(std::move(bytes), file.size());
}

void ParseTranslationFile(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<TranslationTable> table = ParseTable();
        benchmark::DoNotOptimize(table->entries().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TranslationFile().size()));
    state.SetItemsProcessed(state.iterations() * kLines);
}

void LookupTranslation(benchmark::State& state) {
    const std::unique_ptr<TranslationTable> table = ParseTable();
    const TextRange key = TextRange::FromCString("Message number 4711 of the agent");
    for (auto _ : state) {
        TextRange value = table->LookupOverride(key);
        benchmark::DoNotOptimize(value.first);
    }
}

}  // namespace

BENCHMARK(ParseTranslationFile)->Unit(benchmark::kMillisecond);
BENCHMARK(LookupTranslation);
