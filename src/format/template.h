#pragma once

#include <cstddef>

#include "format/format_errors.h"
#include "format/format_override.h"
#include "format/text_range.h"

// A template's two faces: the source text (the English literal, which declares the variables and
// their order, and is the translation key) and the effective text (the translation, or the
// source itself). Owns nothing: both point at texts that live until the process ends.
struct FormatTemplate {
    TextRange source;
    TextRange effective;
};

// The template of a zero-terminated literal, its translation looked up now. This is the only
// moment translations are consulted, so a template made before they are loaded stays English.
FormatTemplate MakeTemplate(const char* literal);

// One variable of the source text (name, without braces) and the argument bound to it.
struct FormatBinding {
    TextRange name;
    TextRange value;
};

// Arguments of Localize: texts, formatted numbers and dates. An owned text must outlive the call,
// which a temporary passed straight to Localize does.
inline TextRange FormatArgument(TextRange text) {
    return text;
}
inline TextRange FormatArgument(const Utf8Text& text) {
    return text.range();
}
inline TextRange FormatArgument(const char* text) {
    return TextRange::FromCString(text);
}
TextRange FormatArgument(Utf8Text&& text) = delete;  // would dangle once the statement ends

// Binds `count` arguments to the ordinary variables of the source text, in order, using `slots`
// (exactly `count` of them) for the bindings, and substitutes them by name into the effective
// text. Throws the errors of format_errors.h; no partial text is ever returned.
Utf8Text LocalizeArguments(const FormatTemplate& text, const TextRange* arguments, size_t count,
                           FormatBinding* slots);

// The effective text with its special variables expanded; the source may name no ordinary one.
inline Utf8Text Localize(const FormatTemplate& text) {
    return LocalizeArguments(text, nullptr, 0, nullptr);
}

// The effective text with the arguments substituted. The binding slots live on the stack, one per
// argument, so a call allocates nothing but its result.
template <typename First, typename... Rest>
Utf8Text Localize(const FormatTemplate& text, const First& first, const Rest&... rest) {
    constexpr size_t kCount = 1 + sizeof...(Rest);
    const TextRange arguments[kCount] = {FormatArgument(first), FormatArgument(rest)...};
    FormatBinding slots[kCount] = {};
    return LocalizeArguments(text, arguments, kCount, slots);
}

// The process-wide table of the six special variables ("_cbrace", "_cr", "_crlf", "_lf",
// "_obrace", "_tab"), sorted by name: the characters neither a template nor a translation line can
// hold directly. Built on first use.
struct FormatBindingTable {
    const FormatBinding* first;
    const FormatBinding* last;
};
const FormatBindingTable& SpecialFormatVariables();
