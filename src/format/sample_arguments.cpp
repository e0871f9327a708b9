#include "format/sample_arguments.h"

#include "format/template_scanner.h"

namespace {

struct SampleValue {
    const char* name;
    const char* value;
};

// What the dialogs pass for each variable name their templates use; any other name is one digit
// of the number or clock templates.
constexpr SampleValue kSampleValues[] = {
    {"x", "2"},       {"y", "3"},    {"days", "2"},          {"month", "January"},
    {"year", "2026"}, {"hour", "9"}, {"day_of_month", "15"}, {"time", "9:05:00"},
    {"sign", "-"},
};
constexpr char kDigitSample[] = "7";

const char* SampleFor(TextRange name) {
    for (const SampleValue& sample : kSampleValues) {
        if (SameText(name, TextRange::FromCString(sample.name))) return sample.value;
    }
    return kDigitSample;
}

// Collects a sample for each ordinary (non-"_") variable, in order.
class SampleCollector {
  public:
    explicit SampleCollector(std::vector<std::string>& samples) : samples_(samples) {}
    void Literal(TextRange) {}
    void Variable(TextRange name) {
        if (!name.empty() && name.first[0] == '_') return;
        samples_.emplace_back(SampleFor(name));
    }

  private:
    std::vector<std::string>& samples_;
};

}  // namespace

std::vector<std::string> SampleArguments(TextRange source) {
    std::vector<std::string> samples;
    SampleCollector collector(samples);
    ScanTemplate(source, collector);
    return samples;
}

Utf8Text LocalizeWithSampleArguments(const FormatTemplate& text) {
    const std::vector<std::string> samples = SampleArguments(text.source);
    std::vector<TextRange> arguments;
    for (const std::string& sample : samples) {
        arguments.emplace_back(sample.data(), sample.data() + sample.size(), false);
    }
    std::vector<FormatBinding> slots(arguments.size());
    return LocalizeArguments(text, arguments.data(), arguments.size(), slots.data());
}
