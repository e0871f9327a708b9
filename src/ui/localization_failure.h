#pragma once

// How the dialogs record a text that cannot be localized or shown: the failure's code, and the
// English template that was being localized. Every caption and message builder marks its template
// on the dialog's tracker just before it localizes, so a failure names the one that failed.

#include "format/format_override.h"
#include "text/transcoder.h"

// How a localization or display conversion failed, as the dialogs record it.
enum LocalizationFailureCode : int {
    kLocalizationSucceeded = 0,
    kLocalizationInvalidTextEncoding = 1,
    kLocalizationOverrideNotFound = 2,
    kLocalizationOtherFailure = 3,
};

// Runs `step` and turns what it throws into the code the dialogs record.
template <typename Step>
LocalizationFailureCode CatchLocalizationFailure(Step&& step) {
    try {
        step();
        return kLocalizationSucceeded;
    } catch (const InvalidTextEncoding&) {
        return kLocalizationInvalidTextEncoding;
    } catch (const FormatOverrideNotFound&) {
        return kLocalizationOverrideNotFound;
    } catch (...) {
        return kLocalizationOtherFailure;
    }
}

// The template being localized. One tracker lives for each dialog; while it does, it is the one
// that Mark writes to (a tracker made later, as in tests, takes over until it ends).
class LiteralTracker {
  public:
    LiteralTracker();
    ~LiteralTracker();
    LiteralTracker(const LiteralTracker&) = delete;
    LiteralTracker& operator=(const LiteralTracker&) = delete;

    // The template marked last; null before any.
    const char* literal() const { return literal_; }

    // Marks `literal` as being localized on the live tracker (kept nowhere without one) and
    // returns it.
    static const char* Mark(const char* literal);

  private:
    const char* literal_ = nullptr;
    LiteralTracker* previous_;
};
