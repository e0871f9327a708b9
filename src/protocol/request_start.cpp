#include "protocol/request_start.h"

#include <cstring>

namespace {

constexpr char kVersion[] = "UI 1.2";

struct CommandWord {
    const char* word;
    RequestCommand command;
};

// Tested in this order, each over the word's full length.
constexpr CommandWord kCommands[] = {
    {"PROGRESS", RequestCommand::kProgress},
    {"ACTIONUI", RequestCommand::kActionUi},
    {"REMIND", RequestCommand::kRemind},
};

}  // namespace

RequestStart ReadRequestStart(platform::RequestInput& input, char* buffer) {
    RequestStart start;
    if (!ReadRequestLine(input, buffer, kRequestBufferSize)) {
        start.error = "Error: No version";
        return start;
    }
    // A prefix check only: later minor versions are accepted.
    if (std::strncmp(buffer, kVersion, sizeof kVersion - 1) != 0) {
        start.error = "Error: Incompatible version";
        return start;
    }
    if (!ReadRequestLine(input, buffer, kRequestBufferSize)) {
        start.error = "Error: Bad command";
        return start;
    }
    for (const CommandWord& candidate : kCommands) {
        const size_t length = std::strlen(candidate.word);
        if (std::strncmp(buffer, candidate.word, length) == 0) {
            start.command = candidate.command;
            start.flagText = buffer + length;
            return start;
        }
    }
    start.error = "Error: Bad command";
    return start;
}
