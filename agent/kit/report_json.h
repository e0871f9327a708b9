#pragma once

// The kit's results as JSON, with the names the Python kit uses.

#include <string>

#include "kit/reply.h"
#include "kit/request_checker.h"

namespace zemkit {

// {"ok", "reply", "problem", "warnings", "fields": [{"key", "declared", "taken", "line",
// "offset", "action"}]}
std::string CheckReportToJson(const CheckReport& report);

// {"kind", "seconds", "actionId", "error"}
std::string ReplyToJson(const Reply& reply);

// {"status", "reply", "parsed", "exitCode", "error", "notes"}
std::string OutcomeToJson(const Outcome& outcome);

}  // namespace zemkit
