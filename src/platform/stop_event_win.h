#pragma once

// The agent's stop (Windows only): a manual-reset named event it signals to close every open
// dialog. The test driver and the agent's kit include this header for the name and the security
// the event is created with.

#include <windows.h>

constexpr char kStopEventName[] = "Global\\MarlixZemClientUIStopEvent";
constexpr wchar_t kStopEventWideName[] = L"Global\\MarlixZemClientUIStopEvent";

// SYSTEM and Administrators may do anything with the event; interactive users and the event's
// owner may only wait on it, so no user can signal or reset the agent's stop, nor rewrite the DACL
// as the owner of an event their process happened to create. SIDs, not aliases: Wine's SDDL
// table lacks some of them.
constexpr wchar_t kStopEventSddl[] =
    L"D:P(A;;0x1f0003;;;S-1-5-18)(A;;0x1f0003;;;S-1-5-32-544)(A;;0x100000;;;S-1-5-4)"
    L"(A;;0x100000;;;S-1-3-4)";

// Creates the event with that security (not signalled). When it exists already, the handle is
// to the existing event, and GetLastError() says ERROR_ALREADY_EXISTS. Null on failure.
HANDLE CreateSecuredStopEvent();

// The event as a dialog run watches it. Waiting is all this process does with it: it is opened
// for waiting, created (secured) only when it does not exist yet, and retried at the next poll
// while that fails. Systems before NT 6.0 never consult it.
class StopEventWatch {
  public:
    StopEventWatch();
    ~StopEventWatch();
    StopEventWatch(const StopEventWatch&) = delete;
    StopEventWatch& operator=(const StopEventWatch&) = delete;

    // Polls the event (without waiting), opening it first when needed.
    bool IsSignalled();
    // The event once a poll has opened it, for a loop to wait on; null before.
    HANDLE Handle() const { return event_; }
    // Once the event is open and signalled, posts `message` to `window` from a pool thread: the
    // stop then reaches the window from any message loop, the system's modal ones included.
    void PostOnSignal(HWND window, UINT message);

  private:
    void RegisterWait();
    static void CALLBACK OnSignalled(void* watch, BOOLEAN timedOut);

    bool supported_ = false;
    HANDLE event_ = nullptr;  // left to process exit: the agent may still be signalling it
    HANDLE wait_ = nullptr;
    HWND notifyWindow_ = nullptr;
    UINT notifyMessage_ = 0;
};
