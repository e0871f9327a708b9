#pragma once

// The remind interval list that both postponing dialogs offer beside "Remind Again": seventeen
// fixed intervals, their localized captions, the chosen entry, and the arithmetic that shrinks the
// list while the time left before a deadline or maximum runs down. The combo box glue is built on
// these pieces.

#include <cstdint>

#include "format/text_range.h"
#include "ui/localization_failure.h"

struct RemindInterval {
    uint32_t position;  // the entry's place in the list
    uint32_t seconds;
    const char* literal;  // the English caption: the template and its translation key
};

constexpr uint32_t kRemindIntervalCount = 17;

// The captions begin with a blank, since they read as a continuation of "Remind Again".
constexpr RemindInterval kRemindIntervals[kRemindIntervalCount] = {
    {0, 60, " in 1 minute"},    {1, 300, " in 5 minutes"},   {2, 600, " in 10 minutes"},
    {3, 900, " in 15 minutes"}, {4, 1800, " in 30 minutes"}, {5, 2700, " in 45 minutes"},
    {6, 3600, " in 1 hour"},    {7, 7200, " in 2 hours"},    {8, 14400, " in 4 hours"},
    {9, 21600, " in 6 hours"},  {10, 28800, " in 8 hours"},  {11, 57600, " in 16 hours"},
    {12, 86400, " in 1 day"},   {13, 172800, " in 2 days"},  {14, 259200, " in 3 days"},
    {15, 345600, " in 4 days"}, {16, 432000, " in 5 days"},
};

// The single choice left when no interval fits any more; reported as 0 seconds.
constexpr char kRemindImmediatelyLiteral[] = " immediately";

// What a failure report names while the combo box is being filled or trimmed.
constexpr char kRemindListLiteral[] = "Remind interval list";

// Taken when a requested time is longer than every interval.
constexpr uint32_t kFallbackRemindPosition = 4;

// The localized captions of one dialog class, made once per process.
class RemindIntervalTexts {
  public:
    // Localizes the seventeen captions in order, marking each literal before it is localized,
    // so that on failure the tracker names the one that failed. The first call's result is kept:
    // a failed attempt is not repeated, and its code is returned again. Entries after a failing
    // one stay empty.
    LocalizationFailureCode LocalizeRemindIntervals();

    const Utf8Text& text(uint32_t position) const { return texts_[position]; }

  private:
    bool notYetLocalized_ = true;
    LocalizationFailureCode result_ = kLocalizationSucceeded;
    Utf8Text texts_[kRemindIntervalCount];
};

// The caption of the single " immediately" choice, localized afresh each time it is shown.
Utf8Text LocalizeRemindImmediately();

// The first position whose interval is at least `seconds`; kFallbackRemindPosition when none is.
uint32_t SelectRemindInterval(uint32_t seconds);

// The remind choice of one dialog.
struct RemindState {
    uint32_t remindIndex = 0;
    bool remindImmediately = false;
    uint32_t maxRemindLeft = 0;  // seconds; only intervals shorter than this are offered

    // The reply value: 0 once only " immediately" is left, else the chosen interval.
    uint32_t GetRemindSeconds() const;
    void SwitchToImmediately();
};

// The reminder dialog's start: the smaller of the remind time and the shortest postponement
// chooses the entry, and the list lasts until the earliest deadline.
RemindState ReminderRemindState(uint32_t remindTime, uint32_t shortestPostpone);

// The pre-action dialog's start, and whether the requested time (non-zero, not above the
// maximum) chose the entry, which decides what happens when the maximum runs out.
struct PreActionRemindStart {
    RemindState state;
    bool requestedRemindUsed = false;
};
PreActionRemindStart PreActionRemindState(uint32_t remindTime, uint32_t maxRemindTime);

// One second of a running countdown against the list.
enum class RemindTick {
    kNothing,      // the time left was already 0
    kReachedZero,  // the time left has just run out
    kTrim,         // the list may have to shrink
};
RemindTick TickMaxRemindLeft(RemindState& state);

// What trimming a combo box that shows `shownCount` entries (its count as the control reports it)
// requires. The caller skips trimming once only " immediately" is left.
struct RemindTrim {
    enum Action {
        kKeep,                 // every shown entry is still shorter than the time left
        kSwitchToImmediately,  // not even the shortest interval fits
        kRebuild,              // show the first entryCount entries and select `selection`
    };
    Action action = kKeep;
    uint32_t entryCount = 0;
    uint32_t selection = 0;
};
RemindTrim PlanRemindTrim(int32_t shownCount, uint32_t maxRemindLeft, uint32_t remindIndex);
