#pragma once

// Shared pieces of zemdriver, the console tool the end-to-end tests use to operate the product's
// dialogs from outside the product's process.

#include <windows.h>

#include <stdexcept>
#include <string>

namespace zemdriver {

// Any failure of a command: main prints the message on stderr and exits with 1.
class DriverError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Window text through WM_GETTEXT, which the system marshals across processes. Bounded in time, so
// that a hung target cannot hang the test.
std::string ReadWindowText(HWND window);
// The same through the wide message: the text exactly as the window holds it.
std::wstring ReadWindowTextWide(HWND window);
// GetClassNameA.
std::string ReadClassName(HWND window);

// Writes the dialog as one JSON object on stdout (the fields are listed in tests/e2e/zemtest.py,
// Driver.dump).
void DumpDialog(HWND dialog);
// The window's picture as a 32-bit bottom-up BMP file: copied from the screen (the dialogs are
// topmost), or painted by the window itself with PrintWindow. Under Wine a window of another
// process paints nothing into our context, hence the screen default.
void SaveScreenshot(HWND window, const std::string& path, bool fromScreen);

}  // namespace zemdriver
