// The translation file parser and lookup: the table built from fuzzed bytes must hold exactly the
// entries an independent reading of the lines finds, sorted, and answer lookups like it.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "format/translation.h"
#include "request_memory.h"

namespace {

constexpr size_t kMaxProbes = 8;

std::string Text(TextRange range) {
    return std::string(range.first, range.size());
}

// Key to the values of its lines; a std::string's operator< is the same unsigned byte order.
using Reference = std::map<std::string, std::multiset<std::string>>;

Reference ReadLines(const std::string& file) {
    Reference entries;
    size_t start = 0;
    while (start <= file.size()) {
        size_t end = file.find_first_of("\r\n", start);
        if (end == std::string::npos) end = file.size();
        const std::string line = file.substr(start, end - start);
        const size_t firstTab = line.find('\t');
        if (firstTab != std::string::npos && firstTab != 0) {
            entries[line.substr(0, firstTab)].insert(line.substr(line.rfind('\t') + 1));
        }
        start = end + 1;
    }
    return entries;
}

size_t CountEntries(const Reference& reference) {
    size_t count = 0;
    for (const auto& key : reference) count += key.second.size();
    return count;
}

void CheckLookup(const TranslationTable& table, const Reference& reference,
                 const std::string& key) {
    const TextRange probe(key.data(), key.data() + key.size(), false);
    const auto found = reference.find(key);
    try {
        const TextRange value = table.LookupOverride(probe);
        FUZZ_CHECK(found != reference.end());
        FUZZ_CHECK(Text(value) == *found->second.begin());  // the smallest value wins
    } catch (const FormatOverrideNotFound&) {
        FUZZ_CHECK(found == reference.end());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    std::vector<std::string> probes(provider.ConsumeIntegralInRange<size_t>(0, kMaxProbes));
    for (std::string& probe : probes) probe = provider.ConsumeRandomLengthString(32);
    const std::string file = provider.ConsumeRemainingBytesAsString();

    // An exact-size heap block, so that ASan sees any read past the file's last byte.
    std::unique_ptr<char[]> bytes(new char[file.size()]);
    std::memcpy(bytes.get(), file.data(), file.size());
    const char* const begin = bytes.get();
    const TranslationTable table(std::move(bytes), file.size());
    const Reference reference = ReadLines(file);

    const std::vector<TranslationEntry>& entries = table.entries();
    FUZZ_CHECK(entries.size() == CountEntries(reference));
    for (size_t i = 0; i < entries.size(); ++i) {
        const TranslationEntry& entry = entries[i];
        FUZZ_CHECK(entry.key.first >= begin && entry.key.last <= begin + file.size());
        FUZZ_CHECK(entry.value.first >= begin && entry.value.last <= begin + file.size());
        FUZZ_CHECK(!entry.key.terminated && !entry.value.terminated);
        const auto values = reference.find(Text(entry.key));
        FUZZ_CHECK(values != reference.end() && values->second.count(Text(entry.value)) > 0);
        if (i == 0) continue;
        const int order = CompareTexts(entries[i - 1].key, entry.key);
        FUZZ_CHECK(order < 0 ||
                   (order == 0 && CompareTexts(entries[i - 1].value, entry.value) <= 0));
    }

    for (const std::string& probe : probes) CheckLookup(table, reference, probe);
    // Every key of the file finds its smallest value; so does a key one byte short of it.
    for (const auto& key : reference) {
        CheckLookup(table, reference, key.first);
        CheckLookup(table, reference, key.first.substr(0, key.first.size() - 1));
    }
    return 0;
}
