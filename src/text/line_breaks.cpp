#include "text/line_breaks.h"

#include <cstring>

void NormalizeLineBreaks(const char* text, std::string& target) {
    if (text == nullptr) return;
    std::string normalized;
    normalized.reserve(2 * std::strlen(text));
    bool afterCarriageReturn = false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\r') {
            normalized += "\r\n";
        } else if (*p == '\n') {
            // The LF of a CR LF pair was written with its CR.
            if (!afterCarriageReturn) normalized += "\r\n";
        } else {
            normalized += *p;
        }
        afterCarriageReturn = (*p == '\r');
    }
    target = std::move(normalized);
}
