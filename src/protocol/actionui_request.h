#pragma once

// Reading an "ACTIONUI" request: flags, the optional countdown and remind fields, the button text,
// title, message, optional preview text, translation path and optional image path.

#include <cstdint>

#include "protocol/request_framing.h"

struct ActionUiRequest {
    bool previewAvailable = false;  // ":PREVIEW"
    bool cancelAllowed = false;     // ":CANCEL"
    bool remindOffered = false;     // ":REMIND"
    bool autoRequested = false;     // ":AUTO"
    bool taskbar = false;           // ":TASKBAR"
    int32_t autoTime = 0;           // at least 1 with ":AUTO", else 0
    int32_t remindTime = 0;         // with ":REMIND": 3600 when below 1, never above the maximum
    int32_t maxRemindTime = 0;      // with ":REMIND": 3600 when below 1
    ByteText autoMessage;           // only with ":AUTO"
    ByteText buttonText;
    ByteText title;
    ByteText message;
    ByteText previewText;      // only with ":PREVIEW"
    ByteText translationPath;  // only with ":XLATE"
    ByteText imagePath;        // optional
};

struct ActionUiRequestResult {
    ActionUiRequest request;
    const char* error = nullptr;  // the reply (exit code -1) when the request is malformed
};

// Reads the fields that follow the command line. ":XLATE" sets the process-wide TranslateFlag.
ActionUiRequestResult ReadActionUiRequest(platform::RequestInput& input, const char* flagText);
