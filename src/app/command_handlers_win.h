#pragma once

// The three command handlers (Windows only). Each reads its fields from standard input, shows its
// dialog and ends the process through ReportAndExit: none returns.

[[noreturn]] void HandleProgressCommand(const char* flagText);
[[noreturn]] void HandleActionUiCommand(const char* flagText);
[[noreturn]] void HandleRemindCommand(const char* flagText);
