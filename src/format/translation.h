#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "format/format_override.h"
#include "format/text_range.h"

// One line of the translation file: the English source text and its replacement, both ranges
// into the table's file buffer.
struct TranslationEntry {
    TextRange key;
    TextRange value;
};

// The entries of one translation file, sorted by (key, value), over the file's bytes that it
// owns. Registered sources must stay where they are, so it is neither copied nor moved.
class TranslationTable : public FormatOverrideSource {
  public:
    // Takes over `size` bytes of file content and parses them into entries.
    TranslationTable(std::unique_ptr<char[]> fileBytes, size_t size);
    TranslationTable(const TranslationTable&) = delete;
    TranslationTable& operator=(const TranslationTable&) = delete;

    // The value of the first entry in (key, value) order whose key is exactly `key`; throws
    // FormatOverrideNotFound when there is none.
    TextRange LookupOverride(TextRange key) const override;

    const std::vector<TranslationEntry>& entries() const { return entries_; }

  private:
    void Parse();

    std::unique_ptr<char[]> fileBytes_;
    size_t size_;
    std::vector<TranslationEntry> entries_;
};

// Reads the whole file at `path` into a table. Raises the file layer's errors.
std::unique_ptr<TranslationTable> ReadTranslationFile(const char* path);

// The process-wide path of the translation file; empty until set.
const char* TranslationFilePath();
void SetTranslationFilePath(const char* path);

// On its first call in the process, loads the file at TranslationFilePath() and registers it as
// an override source. Any failure leaves the English texts; later calls do nothing. Never throws.
void LoadTranslationTable();

// What every command does with the path its ":XLATE" field named: sets it and loads the table.
// A null path (no ":XLATE") does nothing.
void LoadRequestedTranslation(const char* path);
