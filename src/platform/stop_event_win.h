#pragma once

// The agent's stop (Windows only): a manual-reset named event it signals to close every open
// dialog. The test driver includes this header for the name, and signals the event as the agent
// would.

#include <windows.h>

constexpr char kStopEventName[] = "Global\\MarlixZemClientUIStopEvent";

// The event as a dialog run watches it. Waiting is all this process does with it, and an agent
// that secures it may allow no more: it is opened for waiting, created only when it does not exist
// yet, and retried at the next poll while that fails. Systems before NT 6.0 never consult it.
class StopEventWatch {
  public:
    StopEventWatch();
    StopEventWatch(const StopEventWatch&) = delete;
    StopEventWatch& operator=(const StopEventWatch&) = delete;

    // Polls the event (without waiting), opening it first when needed.
    bool IsSignalled();
    // The event once a poll has opened it, for a loop to wait on; null before.
    HANDLE Handle() const { return event_; }

  private:
    bool supported_ = false;
    HANDLE event_ = nullptr;  // left to process exit: the agent may still be signalling it
};
