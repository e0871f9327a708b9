#include "format/translation.h"

#include <algorithm>
#include <string>

#include "io/file_reading.h"

namespace {

constexpr char kTab = '\t';
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

bool EntryBefore(const TranslationEntry& a, const TranslationEntry& b) {
    const int byKey = CompareTexts(a.key, b.key);
    return byKey != 0 ? byKey < 0 : CompareTexts(a.value, b.value) < 0;
}

// A line with a key (non-empty, up to its first tab) and a value (after its last tab).
bool ParseLine(const char* first, const char* last, TranslationEntry& entry) {
    const char* firstTab = std::find(first, last, kTab);
    if (firstTab == last || firstTab == first) return false;
    const char* lastTab = last - 1;
    while (*lastTab != kTab) --lastTab;  // stops at firstTab at the latest
    entry.key = TextRange(first, firstTab, false);
    entry.value = TextRange(lastTab + 1, last, false);
    return true;
}

// The table registered for the rest of the process, once loaded. Unlinked before it is freed.
struct RegisteredTranslation {
    explicit RegisteredTranslation(std::unique_ptr<TranslationTable> loaded)
        : table(std::move(loaded)), registration(*table) {}
    std::unique_ptr<TranslationTable> table;
    FormatOverrideRegistration registration;
};

std::string& FilePath() {
    static std::string* path = new std::string();  // lives until the process ends
    return *path;
}

std::unique_ptr<RegisteredTranslation> registeredTranslation;
bool loadAttempted = false;

}  // namespace

TranslationTable::TranslationTable(std::unique_ptr<char[]> fileBytes, size_t size)
    : fileBytes_(std::move(fileBytes)), size_(size) {
    Parse();
}

void TranslationTable::Parse() {
    const char* lineStart = fileBytes_.get();
    const char* const end = lineStart + size_;
    // CR and LF each end a line, so CR LF ends one line and then an empty one.
    for (;;) {
        const char* lineEnd = std::find_if(
            lineStart, end, [](char c) { return c == kCarriageReturn || c == kLineFeed; });
        TranslationEntry entry;
        if (ParseLine(lineStart, lineEnd, entry)) entries_.push_back(entry);
        if (lineEnd == end) break;
        lineStart = lineEnd + 1;
    }
    std::sort(entries_.begin(), entries_.end(), EntryBefore);
}

TextRange TranslationTable::LookupOverride(TextRange key) const {
    TranslationEntry probe;
    probe.key = key;
    const auto found = std::lower_bound(entries_.begin(), entries_.end(), probe, EntryBefore);
    if (found == entries_.end() || !SameText(found->key, key)) throw FormatOverrideNotFound();
    return found->value;
}

std::unique_ptr<TranslationTable> ReadTranslationFile(const char* path) {
    FileReadingPath file(path);
    const uint32_t size = file.GetSize();
    std::unique_ptr<char[]> bytes(new char[size]);
    FileReadPosition position(file, 0);
    uint8_t* const first = reinterpret_cast<uint8_t*>(bytes.get());
    ByteRange range{first, first + size};
    position.ReadExactly(range);
    file.Close();
    return std::unique_ptr<TranslationTable>(new TranslationTable(std::move(bytes), size));
}

const char* TranslationFilePath() {
    return FilePath().c_str();
}

void SetTranslationFilePath(const char* path) {
    FilePath() = path != nullptr ? path : "";
}

void LoadTranslationTable() {
    if (loadAttempted) return;
    loadAttempted = true;
    try {
        registeredTranslation.reset(
            new RegisteredTranslation(ReadTranslationFile(TranslationFilePath())));
    } catch (...) {
        // A missing or unreadable translation leaves the English texts; nobody is told.
    }
}

void LoadRequestedTranslation(const char* path) {
    if (path == nullptr) return;
    SetTranslationFilePath(path);
    LoadTranslationTable();
}
