#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <memory>

#include "protocol/command_handlers.h"
#include "protocol/report_and_exit.h"
#include "protocol/request_start.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The reply's line end must be the single byte 0x0A; standard input stays in text mode.
    _setmode(_fileno(stdout), _O_BINARY);

    std::unique_ptr<char[]> line(new char[kRequestBufferSize]);
    const RequestStart start = ReadRequestStart(platform::StandardInput(), line.get());
    if (start.error != nullptr) ReportAndExit(-1, start.error);

    switch (start.command) {
        case RequestCommand::kProgress:
            HandleProgressCommand(start.flagText, instance);
        case RequestCommand::kActionUi:
            HandleActionUiCommand(start.flagText, instance);
        case RequestCommand::kRemind:
            HandleRemindCommand(start.flagText, instance);
    }
    ReportAndExit(-1, "Error: Bad command");
}
