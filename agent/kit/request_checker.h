#pragma once

// Checks a request's bytes against the product's own readers: each field as the product reads
// it, the reply the product will give, the first problem in words, and what the product accepts
// silently but the sender most likely did not mean.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace zemkit {

struct CheckedField {
    std::string key;                  // a line's text before its first colon
    std::optional<int64_t> declared;  // the number on a key line, or a sized value's count
    std::optional<size_t> taken;      // the bytes a sized value took, after text mode
    size_t line = 1;                  // 1-based line of the raw bytes where it starts
    size_t offset = 0;                // raw byte offset where it starts
    uint32_t action = 0;              // the REMIND action it belongs to, from 1; 0 for none
};

struct CheckReport {
    bool ok = false;                     // the product accepts the request
    std::optional<std::string> reply;    // the error reply the product gives
    std::optional<std::string> problem;  // what is wrong, in words
    std::vector<std::string> warnings;
    std::vector<CheckedField> fields;  // up to and including the field the product stopped at
};

// Not thread-safe: the product's readers keep the ":XLATE" flag in a process-wide variable.
CheckReport CheckRequest(std::string_view bytes);

// Reads a whole request as the product does, with the reader of its command; null when the
// product accepts it, else its reply. `isRemind`, when given, is set for a REMIND request.
const char* ReadLikeTheProduct(platform::RequestInput& input, bool* isRemind = nullptr);

}  // namespace zemkit
