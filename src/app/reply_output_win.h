#pragma once

// The one reply line of the process (Windows only). Whoever answers first (the request's end or
// the session-end notice of a dialog) writes it; every later attempt writes nothing.

#include <windows.h>

// Initialised during static initialisation, before WinMain runs.
extern CRITICAL_SECTION OutputLock;
// Set by the first reply attempt, whether or not a text is then written.
extern bool RepliedFlag;

// Under `lock`: unless `repliedFlag` is already set, sets it, writes `text` and "\n" (a null text
// writes nothing) to the standard output handle and closes it. Allocates nothing and calls no C
// runtime stream, so a crash can still reply.
void WriteOneReply(CRITICAL_SECTION& lock, bool& repliedFlag, const char* text);
