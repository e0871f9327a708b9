// Template formatting over fuzzed source texts, translations and arguments: every outcome is a
// complete text or one of the formatter's own errors, and formatting is repeatable.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include "format/template.h"
#include "request_memory.h"

namespace {

constexpr size_t kMaxArguments = 6;

// A translation source with one entry, for the lifetime of one input.
class OneOverride : public FormatOverrideSource {
  public:
    OneOverride(const std::string& key, const std::string& value) : key_(key), value_(value) {}

    TextRange LookupOverride(TextRange key) const override {
        if (key.size() != key_.size() || std::memcmp(key.first, key_.data(), key_.size()) != 0) {
            throw FormatOverrideNotFound();
        }
        return TextRange(value_.data(), value_.data() + value_.size(), false);
    }

  private:
    const std::string key_;
    const std::string value_;
};

// The text, or an empty optional-like marker when the formatter raised one of its errors.
struct Outcome {
    bool formatted = false;
    std::string text;
};

Outcome Format(const FormatTemplate& text, const std::vector<std::string>& values) {
    std::vector<TextRange> arguments;
    for (const std::string& value : values) {
        arguments.emplace_back(value.data(), value.data() + value.size(), true);
    }
    std::vector<FormatBinding> slots(arguments.size());
    Outcome outcome;
    try {
        const Utf8Text result =
            LocalizeArguments(text, arguments.data(), arguments.size(), slots.data());
        FUZZ_CHECK(result.first()[result.size()] == '\0');
        outcome.formatted = true;
        outcome.text.assign(result.first(), result.size());
    } catch (const BadFormatStringError&) {
    } catch (const ImproperFormatVariableName&) {
    } catch (const UndefinedFormatVariable&) {
    } catch (const TooFewFormatArguments&) {
    } catch (const TooManyFormatArguments&) {
    }
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    // Literals are zero-terminated, so the source stops at its first NUL like any literal would.
    const std::string source = provider.ConsumeRandomLengthString(256).c_str();
    const bool translated = provider.ConsumeBool();
    const std::string translation = provider.ConsumeRandomLengthString(256);
    std::vector<std::string> values(provider.ConsumeIntegralInRange<size_t>(0, kMaxArguments));
    for (std::string& value : values) value = provider.ConsumeRandomLengthString(64);

    const OneOverride override(source, translation);
    if (translated) {
        const FormatOverrideRegistration registration(override);
        const FormatTemplate text = MakeTemplate(source.c_str());
        FUZZ_CHECK(text.effective.size() == translation.size());
        const Outcome first = Format(text, values);
        const Outcome again = Format(text, values);
        FUZZ_CHECK(first.formatted == again.formatted && first.text == again.text);
    }

    // Once the registration is gone, the same literal is English again.
    const FormatTemplate english = MakeTemplate(source.c_str());
    FUZZ_CHECK(english.effective.first == english.source.first);
    const Outcome plain = Format(english, values);
    // Without variables and arguments a source formats to itself (a lone "}" is literal text).
    if (values.empty() && source.find('{') == std::string::npos) {
        FUZZ_CHECK(plain.formatted && plain.text == source);
    }
    return 0;
}
