#pragma once

// The one way a request ends (Windows only): at most one reply line ever reaches standard output,
// whether it comes from here or from the session-end notice of the dialogs.

#include "app/reply_output_win.h"

// Writes `text` and "\n" in one unbuffered write (unless a reply was already written; a null text
// writes nothing), closes standard output, lingers 2000 ms so the agent can read the
// reply, and terminates the process at once with `exitCode`: no exit-time handlers run.
[[noreturn]] void ReportAndExit(int exitCode, const char* text);
