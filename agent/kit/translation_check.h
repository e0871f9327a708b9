#pragma once

// A translation file checked before it ships: read with the product's own parser, each entry
// formatted with the product's own formatter as the dialogs would, and compared with the
// catalogue of keys. A fault here is a dialog that silently stays English, or one that fails and
// closes (a translator's typo in "Cancel" suppresses a restart prompt).

#include <string>
#include <vector>

// A value whose ordinary variables differ from its key's: names it drops or names it invents.
struct VariableMismatch {
    std::string key;
    std::vector<std::string> dropped;
    std::vector<std::string> invented;
};

// An entry that fails when a dialog formats it; `failure` names the formatter's error.
struct FormatFailure {
    std::string key;
    std::string failure;
};

struct TranslationCheckReport {
    bool byteOrderMark = false;
    // "line N: text" of each line the product ignores although it looks like an entry (a
    // catalogue key followed by a blank, or a key alone): its tab is missing.
    std::vector<std::string> untabbedEntries;
    std::vector<std::string> unknownKeys;   // not in the catalogue: never looked up
    std::vector<std::string> missingKeys;   // in the catalogue only: those texts stay English
    std::vector<std::string> repeatedKeys;  // the value first in byte order wins
    std::vector<VariableMismatch> variableMismatches;
    std::vector<FormatFailure> formatFailures;
    bool rightToLeft = false;

    // A fault that breaks a dialog or hides an entry: a byte-order mark, an untabbed entry, a
    // variable dropped or invented, a failure to format. Missing keys fall back to English.
    bool Failed() const;
};

// Checks the bytes of a translation file against the bytes of the catalogue (itself a translation
// file whose keys are every key the dialogs look up).
TranslationCheckReport CheckTranslation(const std::string& file, const std::string& catalogue);

// The report as lines for a person, ending with the verdict.
std::string DescribeTranslationCheck(const TranslationCheckReport& report);
