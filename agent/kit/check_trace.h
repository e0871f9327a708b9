#pragma once

// What the checker learned from one run of the product's reader over a request, shared by the
// part that lists the fields and the part that puts problems into words.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/request_checker.h"
#include "kit/traced_input.h"

namespace zemkit {

struct TraceField {
    CheckedField field;
    const TracedRead* read = nullptr;
    std::string text;  // a line as the reader saw it (to its first NUL, trailing blanks cut)
    bool isValue = false;
};

struct CheckTrace {
    std::string_view raw;
    const TracedInput* input = nullptr;
    std::vector<TraceField> fields;
    const char* reply = nullptr;  // null when the product accepts the request
    bool isRemind = false;
    std::optional<int64_t> actionCount;
    // The reader looked for a further line (the optional image path) and met the end of input.
    bool endedLookingForLine = false;
};

// Fills the report's problem and warnings from the trace.
void DescribeTrace(const CheckTrace& trace, CheckReport& report);

// "action 2 of 3: " for a field of an action, else "".
std::string ActionPrefix(const CheckTrace& trace, const CheckedField& field);

}  // namespace zemkit
