#pragma once

// The sample service's record of each prompt: one line in a file beside its exe, and an entry in
// the event log where there is one.

#include <string>

#include "kit/reply.h"

// "<UTC time> <what> <outcome as JSON>"
void LogOutcome(const std::string& what, const zemkit::Outcome& outcome);
// The log file's path, beside the exe.
std::wstring LogPath();
