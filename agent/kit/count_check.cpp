#include "kit/count_check.h"

#include <string>

namespace zemkit {

namespace {

constexpr const char* kProtocolKeys[] = {
    "AUTOTIME",       "AUTOMESSAGE",     "REMINDTIME",    "MAXREMINDTIME",  "BUTTONTEXT",
    "TITLE",          "MESSAGE",         "ACTIONPREVIEW", "XLATEPATH",      "IMAGEPATH",
    "ACTIONCOUNT",    "ACTIONITEM",      "ACTIONID",      "ACTIONPOSTPONE", "ACTIONITEMMSG",
    "ACTIONITEMBODY", "ACTIONITEMTITLE",
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

size_t NextKeyLine(std::string_view raw, size_t from, size_t end) {
    for (size_t p = from + 1; p < end; ++p) {
        if (raw[p - 1] == '\n' && StartsKeyLine(raw, p)) return p;
    }
    return std::string_view::npos;
}

}  // namespace

bool IsProtocolKey(std::string_view key) {
    for (const char* known : kProtocolKeys) {
        if (key == known) return true;
    }
    return false;
}

bool StartsKeyLine(std::string_view raw, size_t position) {
    const std::string_view rest = raw.substr(position);
    for (const char* key : kProtocolKeys) {
        const std::string withColon = std::string(key) + ":";
        if (rest.substr(0, withColon.size()) == withColon) return true;
    }
    return false;
}

size_t InputEnd(const CheckTrace& trace) {
    return trace.input->ctrlZOffset().value_or(trace.raw.size());
}

CountCheck CheckCount(const CheckTrace& trace, const TraceField& value) {
    const std::string_view raw = trace.raw;
    const size_t end = InputEnd(trace);
    const size_t start = value.read->rawStart;
    size_t after = value.read->rawEnd;
    while (after < end && IsBlank(raw[after])) ++after;
    const bool atLineStart = after == value.read->rawEnd || raw[after - 1] == '\n';
    CountCheck check;
    if (after == end || (atLineStart && StartsKeyLine(raw, after))) return check;

    check.consistent = false;
    const size_t next = NextKeyLine(raw, start, end);
    size_t spanEnd = next == std::string_view::npos ? end : next - 1;
    if (next == std::string_view::npos && spanEnd > start && raw[spanEnd - 1] == '\n') --spanEnd;
    if (spanEnd > start && raw[spanEnd - 1] == '\r') --spanEnd;
    check.bytesBeforeNextKey = FoldedLength(raw, start, spanEnd);
    check.spanEnd = spanEnd;
    const std::string_view span = raw.substr(start, spanEnd - start);
    check.countedCrLfTwice = value.field.declared &&
                             static_cast<size_t>(*value.field.declared) == span.size() &&
                             span.find("\r\n") != std::string_view::npos;
    return check;
}

}  // namespace zemkit
