#pragma once

// The start of every request: the version handshake and the command line.

#include "protocol/request_framing.h"

enum class RequestCommand { kProgress, kActionUi, kRemind };

struct RequestStart {
    RequestCommand command = RequestCommand::kProgress;
    const char* flagText = nullptr;  // the rest of the command line, inside the caller's buffer
    const char* error = nullptr;     // the reply when the start is malformed
};

// Reads the version line and the command line into `buffer` (kRequestBufferSize bytes).
RequestStart ReadRequestStart(platform::RequestInput& input, char* buffer);
