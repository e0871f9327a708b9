#pragma once

// The three command handlers (Windows only). Each reads its fields from standard input, shows its
// dialog and ends the process through ReportAndExit: none returns.

#include <windows.h>

[[noreturn]] void HandleProgressCommand(const char* flagText, HINSTANCE instance);
[[noreturn]] void HandleActionUiCommand(const char* flagText, HINSTANCE instance);
[[noreturn]] void HandleRemindCommand(const char* flagText, HINSTANCE instance);
