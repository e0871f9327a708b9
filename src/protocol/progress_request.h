#pragma once

// Reading a "PROGRESS" request: flags, title, message, translation path and optional image path.

#include "protocol/request_framing.h"

struct ProgressRequest {
    bool taskbar = false;
    ByteText title;
    ByteText message;
    ByteText translationPath;  // only with ":XLATE"
    ByteText imagePath;        // optional
};

struct ProgressRequestResult {
    ProgressRequest request;
    const char* error = nullptr;  // the reply (exit code -1) when the request is malformed
};

ProgressRequestResult ReadProgressRequest(platform::RequestInput& input, const char* flagText);
