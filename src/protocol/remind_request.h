#pragma once

// Reading a "REMIND" request: flags, the optional countdown, the remind time, the title, the
// pending actions, translation path and optional image path.

#include <cstdint>
#include <vector>

#include "format/local_time.h"
#include "protocol/action_item.h"
#include "protocol/request_framing.h"

constexpr uint32_t kNoPostponeLimit = 0xFFFFFFFFu;

struct RemindRequest {
    bool autoRequested = false;  // ":AUTO" or ":AUTOTAKEACTION"
    bool autoTakeAll = false;    // ":AUTOTAKEACTION"
    bool taskbar = false;        // ":TASKBAR"
    int32_t autoTime = 0;        // non-zero with the auto flag, else 0
    int32_t remindTime = 0;      // 3600 when the request gives 0; negative values stay
    ByteText title;
    uint32_t shortestPostpone = kNoPostponeLimit;  // unsigned minimum over the actions
    std::vector<ActionItem> actions;               // in request order
    ByteText translationPath;                      // only with ":XLATE"
    ByteText imagePath;                            // optional
};

struct RemindRequestResult {
    RemindRequest request;
    const char* error = nullptr;  // the reply (exit code -1) when the request is malformed
};

// Reads the fields that follow the command line. Every deadline is counted from `startTime`, the
// moment the handler started. ":XLATE" sets the process-wide TranslateFlag.
RemindRequestResult ReadRemindRequest(platform::RequestInput& input, const char* flagText,
                                      Timestamp startTime);
