#pragma once

// The agent's side of the stop event: created before the first dialog with the security that lets
// users only wait on it, signalled to close every dialog, reset only while none of this process's
// dialogs is open, so that a reset never swallows a stop another dialog has yet to see.

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/handles_win.h"

namespace zemkit {

class AgentStopEvent {
  public:
    static AgentStopEvent& Instance();

    // Creates the event, or opens it when it exists; notes an event that another owner made or
    // that this process may not signal. False when it can be neither created nor opened.
    bool Ensure(std::vector<std::string>& notes);
    // Around each dialog: the first to open clears a stop left over from an earlier one.
    void DialogOpening();
    void DialogClosed();
    // Signals the stop if this is the only dialog of this process still open.
    bool SignalIfOnlyDialog();
    bool Signal();

  private:
    AgentStopEvent() = default;

    std::mutex lock_;
    ScopedKernelHandle event_;
    int openDialogs_ = 0;
};

}  // namespace zemkit
