#pragma once

// Requests described in JSON, with the Python kit's names: {"command": "ACTIONUI", "title": ...,
// "remind_seconds": 1800, "actions": [{"id": 17, "kind": "RESTART", ...}]}.

#include <string>

#include "kit/json.h"
#include "kit/request_model.h"

namespace zemkit {

// Throws EncodeError naming the member for an unknown member, a missing one or a wrong type, and
// JsonError for text that is not JSON.
Request RequestFromJson(const JsonValue& description);
Request RequestFromJsonText(const std::string& text);

}  // namespace zemkit
