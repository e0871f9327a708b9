#include <windows.h>

#include <exception>
#include <memory>

#include "app/command_handlers_win.h"
#include "app/report_and_exit_win.h"
#include "protocol/failure_reply.h"
#include "protocol/request_start.h"

namespace {

[[noreturn]] void ReplyInternalError() {
    ReportAndExit(-1, kInternalErrorReply);
}

// A crash must still leave the agent one reply line; when a reply was already written,
// ReportAndExit adds nothing and only ends the process.
LONG WINAPI ReplyOnCrash(EXCEPTION_POINTERS*) {
    ReplyInternalError();
}

[[noreturn]] void RunRequest() {
    std::unique_ptr<char[]> line(new char[kRequestBufferSize]);
    const RequestStart start = ReadRequestStart(platform::StandardInput(), line.get());
    if (start.error != nullptr) ReportAndExit(-1, start.error);

    switch (start.command) {
        case RequestCommand::kProgress:
            HandleProgressCommand(start.flagText);
        case RequestCommand::kActionUi:
            HandleActionUiCommand(start.flagText);
        case RequestCommand::kRemind:
            HandleRemindCommand(start.flagText);
    }
    ReportAndExit(-1, "Error: Bad command");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SetUnhandledExceptionFilter(ReplyOnCrash);
    std::set_terminate(ReplyInternalError);
    try {
        RunRequest();
    } catch (...) {
        ReportAndExit(-1, ReplyForFailure(std::current_exception()));
    }
}
