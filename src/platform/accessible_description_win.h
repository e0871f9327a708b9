#pragma once

// The description a screen reader speaks for a window (Windows only). A reader announces a dialog
// by its title and buttons and does not read a multi-line box when the dialog opens, so the dialog
// carries its message as its description. Set by direct annotation through the accessibility
// runtime's property service, reached with COM: the program imports no library beyond the system's
// known ones. Where the service is missing or refuses (Wine answers E_NOTIMPL), nothing changes.

#include <windows.h>

#include <string>

class AccessibleDescriptions {
  public:
    virtual ~AccessibleDescriptions() = default;
    virtual void Describe(HWND window, const std::wstring& description) = 0;
    // Called before the window goes, so the annotation does not outlive it.
    virtual void Forget(HWND window) = 0;
};

// The descriptions in effect: the system's, or the one a ScopedAccessibleDescriptions put in place.
AccessibleDescriptions& CurrentAccessibleDescriptions();

// Puts `replacement` in place while it lives (tests record what the dialogs describe with it).
class ScopedAccessibleDescriptions {
  public:
    explicit ScopedAccessibleDescriptions(AccessibleDescriptions& replacement);
    ~ScopedAccessibleDescriptions();
    ScopedAccessibleDescriptions(const ScopedAccessibleDescriptions&) = delete;
    ScopedAccessibleDescriptions& operator=(const ScopedAccessibleDescriptions&) = delete;

  private:
    AccessibleDescriptions* previous_;
};
