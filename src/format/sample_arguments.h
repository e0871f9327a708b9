#pragma once

#include <string>
#include <vector>

#include "format/template.h"

// Arguments of the kind the dialogs bind to a template's variables, so that any template can be
// formatted as a dialog would format it without the dialog: a checker formats every translated
// entry this way and meets the failures a dialog would meet.

// One argument per ordinary variable of `source`, in order: a count for {x}, {y} and {days}, a
// month name for {month}, a time of day for {time}, a digit for the number and clock templates'
// one-digit variables. Throws BadFormatStringError when `source` has an unclosed brace.
std::vector<std::string> SampleArguments(TextRange source);

// The effective text of `text` formatted with SampleArguments(text.source). Throws the errors of
// format_errors.h, as Localize does.
Utf8Text LocalizeWithSampleArguments(const FormatTemplate& text);
