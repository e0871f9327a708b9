#pragma once

// The subcommands of zemuictl, one file each. Every command takes the arguments after its own
// name and returns the process's exit code; it writes to standard output and standard error only.

#include <string>
#include <vector>

using CommandArguments = std::vector<std::string>;

// zemuictl check [--json] FILE: the checker's report on a request's bytes.
int RunCheckCommand(const CommandArguments& arguments);
// zemuictl encode [FILE]: a JSON description of a request to its bytes, on a binary stdout.
int RunEncodeCommand(const CommandArguments& arguments);

#ifdef _WIN32
// zemuictl run [--exe PATH] [--timeout SECONDS] [--session ...] FILE: one prompt, its outcome.
int RunRunCommand(const CommandArguments& arguments);
// zemuictl stop: signals the stop event, which closes every open dialog.
int RunStopCommand(const CommandArguments& arguments);
// zemuictl sessions: the user sessions, as the launcher chooses among them.
int RunSessionsCommand(const CommandArguments& arguments);
#endif
