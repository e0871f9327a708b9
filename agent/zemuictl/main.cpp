// zemuictl: the agent's kit from the command line, for any language that can start a process.

#include <cstdio>
#include <cstring>

#include "zemuictl/binary_output.h"
#include "zemuictl/commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const CommandArguments&);
    const char* usage;
};

constexpr Command kCommands[] = {
    {"check", RunCheckCommand, "check [--json] FILE    report how ZemClientUI reads a request"},
    {"encode", RunEncodeCommand, "encode [FILE]          JSON description to request bytes"},
#ifdef _WIN32
    {"run", RunRunCommand, "run [--exe PATH] [--timeout SECONDS] [--session S] FILE   one prompt"},
    {"stop", RunStopCommand, "stop                   signal the stop: every dialog closes"},
    {"sessions", RunSessionsCommand, "sessions               list the user sessions"},
#endif
};

int PrintUsage() {
    std::fputs("usage: zemuictl COMMAND [ARGUMENTS]\n", stderr);
    for (const Command& command : kCommands) std::fprintf(stderr, "  zemuictl %s\n", command.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return PrintUsage();
    // Requests and replies are bytes: no CR is added before a line feed on any stream.
    UseBinaryStandardStreams();
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) == 0) {
            return command.run(CommandArguments(argv + 2, argv + argc));
        }
    }
    return PrintUsage();
}
