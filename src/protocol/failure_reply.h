#pragma once

// The reply for a failure that no request reader or dialog answered itself: whatever goes wrong,
// the agent still reads exactly one line.

#include <exception>

constexpr char kOutOfMemoryReply[] = "Error: Out of memory";
constexpr char kInternalErrorReply[] = "Error: Internal error";

// "Error: Out of memory" for an allocation failure, "Error: Internal error" for anything else
// (a null pointer included).
const char* ReplyForFailure(std::exception_ptr failure);
