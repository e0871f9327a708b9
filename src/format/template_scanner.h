#pragma once

#include <algorithm>

#include "format/format_errors.h"
#include "format/text_range.h"

// Reads a template left to right and reports each token to `handler`, which decides what to do
// with it: handler.Literal(TextRange) for text outside braces, handler.Variable(TextRange) for the
// name between "{" and the next "}". A "}" outside a variable is plain text, and there is no
// escape: literal braces are written as the special variables "_obrace" and "_cbrace". Throws
// BadFormatStringError when a "{" has no "}" after it; tokens before it have been reported.
template <typename Handler>
void ScanTemplate(TextRange text, Handler& handler) {
    const char* position = text.first;
    while (position != text.last) {
        if (*position != '{') {
            const char* literalEnd = std::find(position, text.last, '{');
            handler.Literal(
                TextRange(position, literalEnd, literalEnd == text.last && text.terminated));
            position = literalEnd;
            continue;
        }
        const char* nameFirst = position + 1;
        const char* closing = std::find(nameFirst, text.last, '}');
        if (closing == text.last) throw BadFormatStringError();
        handler.Variable(TextRange(nameFirst, closing, false));
        position = closing + 1;
    }
}
