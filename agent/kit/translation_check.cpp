#include "kit/translation_check.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "format/format_errors.h"
#include "format/reading_direction.h"
#include "format/sample_arguments.h"
#include "format/template_scanner.h"
#include "format/translation.h"
#include "text/transcoder.h"

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

std::string Text(TextRange range) {
    return std::string(range.first, range.size());
}

// A table over a copy of `bytes`, parsed exactly as the product parses a file.
std::unique_ptr<TranslationTable> ParseTable(const std::string& bytes) {
    std::unique_ptr<char[]> copy(new char[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return std::make_unique<TranslationTable>(std::move(copy), bytes.size());
}

std::vector<std::string> Keys(const TranslationTable& table) {
    std::vector<std::string> keys;
    for (const TranslationEntry& entry : table.entries()) keys.push_back(Text(entry.key));
    return keys;  // sorted, as the entries are
}

// The ordinary (non-"_") variable names of a template, as a set.
class VariableCollector {
  public:
    void Literal(TextRange) {}
    void Variable(TextRange name) {
        if (name.empty() || name.first[0] != '_') names.insert(Text(name));
    }
    std::set<std::string> names;
};

std::set<std::string> VariablesOf(TextRange text) {
    VariableCollector collector;
    ScanTemplate(text, collector);
    return collector.names;
}

std::vector<std::string> Difference(const std::set<std::string>& a,
                                    const std::set<std::string>& b) {
    std::vector<std::string> result;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(result));
    return result;
}

// What formatting `key` with sample arguments throws, or an empty text when it succeeds.
std::string FormatFailureOf(const std::string& key) {
    try {
        const Utf8Text text = LocalizeWithSampleArguments(MakeTemplate(key.c_str()));
        Utf8ToUtf16(text.first(), text.last());  // as a window would receive it
        return "";
    } catch (const BadFormatStringError&) {
        return "unclosed brace";
    } catch (const ImproperFormatVariableName&) {
        return "improper variable name";
    } catch (const UndefinedFormatVariable&) {
        return "unknown variable";
    } catch (const TooFewFormatArguments&) {
        return "fewer variables than the key";
    } catch (const TooManyFormatArguments&) {
        return "more variables than the key";
    } catch (const InvalidTextEncoding&) {
        return "not UTF-8";
    } catch (...) {
        return "fails to format";
    }
}

// Lines without a tab that begin with a catalogue key followed by a blank, or are a key alone.
// One-character keys (the digits, the minus sign) are left out: too many comments begin so.
std::vector<std::string> UntabbedEntries(const std::string& file,
                                         const std::vector<std::string>& catalogue) {
    std::vector<std::string> found;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start <= file.size()) {
        size_t end = file.find('\n', start);
        if (end == std::string::npos) end = file.size();
        std::string line = file.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++lineNumber;
        start = end + 1;
        if (line.find('\t') != std::string::npos) continue;
        for (const std::string& key : catalogue) {
            if (key.size() < 2 || line.compare(0, key.size(), key) != 0) continue;
            if (line.size() == key.size() || line[key.size()] == ' ') {
                found.push_back("line " + std::to_string(lineNumber) + ": " + line);
                break;
            }
        }
    }
    return found;
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "{" : ", {") + name + "}";
    return text;
}

void AddSection(std::string& out, const char* title, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    out += std::string(title) + " (" + std::to_string(lines.size()) + "):\n";
    for (const std::string& line : lines) out += "  " + line + "\n";
}

}  // namespace

bool TranslationCheckReport::Failed() const {
    return byteOrderMark || !untabbedEntries.empty() || !variableMismatches.empty() ||
           !formatFailures.empty();
}

TranslationCheckReport CheckTranslation(const std::string& file, const std::string& catalogue) {
    TranslationCheckReport report;
    report.byteOrderMark = file.compare(0, std::strlen(kByteOrderMark), kByteOrderMark) == 0;
    const std::unique_ptr<TranslationTable> table = ParseTable(file);
    const std::unique_ptr<TranslationTable> catalogueTable = ParseTable(catalogue);
    std::vector<std::string> keys = Keys(*table);
    std::vector<std::string> catalogueKeys = Keys(*catalogueTable);
    catalogueKeys.erase(std::unique(catalogueKeys.begin(), catalogueKeys.end()),
                        catalogueKeys.end());
    report.untabbedEntries = UntabbedEntries(file, catalogueKeys);

    for (size_t i = 1; i < keys.size(); ++i) {
        const bool listed = !report.repeatedKeys.empty() && report.repeatedKeys.back() == keys[i];
        if (keys[i] == keys[i - 1] && !listed) report.repeatedKeys.push_back(keys[i]);
    }
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::set_difference(keys.begin(), keys.end(), catalogueKeys.begin(), catalogueKeys.end(),
                        std::back_inserter(report.unknownKeys));
    std::set_difference(catalogueKeys.begin(), catalogueKeys.end(), keys.begin(), keys.end(),
                        std::back_inserter(report.missingKeys));

    // Registered as the product registers a loaded file, so that each template is made, formatted
    // and read for its direction by the product's own code.
    const FormatOverrideRegistration registration(*table);
    for (const std::string& key : keys) {
        if (!std::binary_search(catalogueKeys.begin(), catalogueKeys.end(), key)) continue;
        const TextRange source(key.data(), key.data() + key.size(), true);
        try {
            const std::set<std::string> wanted = VariablesOf(source);
            const std::set<std::string> given = VariablesOf(table->LookupOverride(source));
            if (wanted != given) {
                report.variableMismatches.push_back(
                    {key, Difference(wanted, given), Difference(given, wanted)});
            }
        } catch (const BadFormatStringError&) {
            // An unclosed brace: the formatter meets it below.
        }
        const std::string failure = FormatFailureOf(key);
        if (!failure.empty()) report.formatFailures.push_back({key, failure});
    }
    report.rightToLeft = IsRightToLeftTranslation();
    return report;
}

std::string DescribeTranslationCheck(const TranslationCheckReport& report) {
    std::string out;
    if (report.byteOrderMark) {
        out += "byte-order mark: it becomes part of the first key, which then matches nothing\n";
    }
    AddSection(out, "lines ignored for want of a tab", report.untabbedEntries);
    AddSection(out, "keys not in the catalogue (never looked up)", report.unknownKeys);
    AddSection(out, "catalogue keys missing (shown in English)", report.missingKeys);
    AddSection(out, "keys given more than once (the value first in byte order wins)",
               report.repeatedKeys);
    std::vector<std::string> lines;
    for (const VariableMismatch& mismatch : report.variableMismatches) {
        std::string line = mismatch.key + ":";
        if (!mismatch.dropped.empty()) line += " drops " + JoinNames(mismatch.dropped);
        if (!mismatch.invented.empty()) line += " invents " + JoinNames(mismatch.invented);
        lines.push_back(line);
    }
    AddSection(out, "values whose variables differ from their key's", lines);
    lines.clear();
    for (const FormatFailure& failure : report.formatFailures) {
        lines.push_back(failure.key + ": " + failure.failure);
    }
    AddSection(out, "values that fail to format (the dialog would close)", lines);
    out += std::string("reading direction: ") +
           (report.rightToLeft ? "right to left (mirrored dialogs)" : "left to right") + "\n";
    out += report.Failed() ? "FAILED\n" : "OK\n";
    return out;
}
