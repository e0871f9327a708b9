#pragma once

// Whether a sized value's count matches the bytes its sender wrote: the value should run up to
// the next key line (or the end of the request), give or take the blank line after it.

#include <cstddef>
#include <string_view>

#include "kit/check_trace.h"

namespace zemkit {

struct CountCheck {
    bool consistent = true;
    size_t bytesBeforeNextKey = 0;  // as text mode delivers them
    size_t spanEnd = 0;             // the raw offset where those bytes end
    bool countedCrLfTwice = false;  // the count is the raw length of a value holding CR LF
};

CountCheck CheckCount(const CheckTrace& trace, const TraceField& value);

// One of the keys of the three requests ("TITLE", "ACTIONITEM", ...).
bool IsProtocolKey(std::string_view key);
// A protocol key and its colon start at `position`.
bool StartsKeyLine(std::string_view raw, size_t position);
// The end of what the reader can see: a 0x1A byte or the end of the bytes.
size_t InputEnd(const CheckTrace& trace);

}  // namespace zemkit
