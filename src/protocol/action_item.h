#pragma once

#include <cstdint>
#include <string>

#include "format/local_time.h"

// What taking an action does to the computer; the values are those of the agent's protocol.
enum class ActionKind : int32_t {
    kNone = 0,
    kRestart = 31,
    kShutdown = 32,
};

// How many of a reminder's actions there are, and how many of them restart or shut down.
struct KindCounts {
    uint32_t actions = 0;
    uint32_t restarts = 0;
    uint32_t shutdowns = 0;
};

// One pending action of a "REMIND" request, as the reader builds it and the reminder dialog
// copies it. The texts are already normalized to CR LF line breaks.
struct ActionItem {
    int32_t id = 0;  // never 0 once read
    bool cancelAllowed = false;
    bool previewAvailable = false;
    std::string message;
    std::string body;  // shown only by the preview window
    std::string title;
    ActionKind kind = ActionKind::kNone;
    Timestamp deadline = 0;  // the request's start time plus the action's postponement
};
