#include "format/date_time_format.h"

#include "format/number_format.h"
#include "format/template.h"
#include "format/time_units.h"

namespace {

constexpr const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};

constexpr const char kTimeOfDayTemplate[] =
    "{hour}:{minutes_tens}{minute_ones}:{second_tens}{second_ones}";

// Durations are split as unsigned magnitudes.
constexpr uint64_t kMicrosecondsPerUnsignedSecond = kMicrosecondsPerSecond;
constexpr uint64_t kMicrosecondsPerMinute = 60 * kMicrosecondsPerUnsignedSecond;
constexpr uint64_t kMicrosecondsPerHour = 60 * kMicrosecondsPerMinute;
constexpr uint64_t kMicrosecondsPerDay = 24 * kMicrosecondsPerHour;

// The wordings of one sign of duration. Negative ones carry their own "-", so a translated minus
// sign of the number formatter does not reach them. The variable names are translation keys as
// they are, misspellings included.
struct DurationTemplates {
    const char* clock;           // less than one day
    const char* oneDay;          // exactly one whole day
    const char* oneDayAndClock;  // one day and some hours, minutes or seconds
    const char* days;            // two or more whole days
    const char* daysAndClock;    // two or more days and some hours, minutes or seconds
};

constexpr DurationTemplates kPositiveDuration = {
    "{hours10}{hours1}:{miniutes10}{minutes1}:{seconds10}{seconds1}",
    "1 day",
    "1 day, {hours10}{hours1}:{miniutes10}{minutes1}:{seconds10}{seconds1}",
    "{days} days",
    "{days} days, {hours10}{hours1}:{miniutes10}{minutes1}:{seconds10}{seconds1}",
};

constexpr DurationTemplates kNegativeDuration = {
    "-{hours10}{hours1}:{miniutes10}{minutes1}:{seconds10}{seconds1}",
    "-1 day",
    "-1 day, {hours10}{hours1}:{miniutes10}{minutes1}:{seconds10}{seconds1}",
    "-{days} days",
    "-{days} days, {hours10}{hours1}:{miniutes10}{minutes1}:{seconds10}{seconds1}",
};

// The six single digits of "hh:mm:ss".
struct ClockDigits {
    Utf8Text hoursTens, hoursOnes, minutesTens, minutesOnes, secondsTens, secondsOnes;
};

// Splits what is left below one day; microseconds below one second are dropped.
ClockDigits FormatClockDigits(uint64_t belowOneDay) {
    const uint64_t hours = belowOneDay / kMicrosecondsPerHour;
    const uint64_t minutes = belowOneDay % kMicrosecondsPerHour / kMicrosecondsPerMinute;
    const uint64_t seconds = belowOneDay % kMicrosecondsPerMinute / kMicrosecondsPerUnsignedSecond;
    return ClockDigits{FormatUnsigned(hours / 10),   FormatUnsigned(hours % 10),
                       FormatUnsigned(minutes / 10), FormatUnsigned(minutes % 10),
                       FormatUnsigned(seconds / 10), FormatUnsigned(seconds % 10)};
}

Utf8Text LocalizeClock(const char* literal, const ClockDigits& clock) {
    return Localize(MakeTemplate(literal), clock.hoursTens, clock.hoursOnes, clock.minutesTens,
                    clock.minutesOnes, clock.secondsTens, clock.secondsOnes);
}

Utf8Text LocalizeDaysAndClock(const char* literal, const Utf8Text& days, const ClockDigits& clock) {
    return Localize(MakeTemplate(literal), days, clock.hoursTens, clock.hoursOnes,
                    clock.minutesTens, clock.minutesOnes, clock.secondsTens, clock.secondsOnes);
}

}  // namespace

Utf8Text FormatMonthName(int month) {
    // Unsigned arithmetic turns every number below 1 into a large index, without overflow.
    const unsigned index = static_cast<unsigned>(month) - 1u;
    if (index >= 12) throw CantFormatMonth();
    return Localize(MakeTemplate(kMonthNames[index]));
}

Utf8Text FormatTimeOfDay(TimeOfDay time) {
    const Utf8Text hour = FormatUnsigned(time.hour);
    const Utf8Text minutesTens = FormatSigned(time.minute / 10);
    const Utf8Text minuteOnes = FormatSigned(time.minute % 10);
    const Utf8Text secondTens = FormatSigned(time.second / 10);
    const Utf8Text secondOnes = FormatSigned(time.second % 10);
    return Localize(MakeTemplate(kTimeOfDayTemplate), hour, minutesTens, minuteOnes, secondTens,
                    secondOnes);
}

Utf8Text FormatDuration(int64_t microseconds) {
    const bool negative = microseconds < 0;
    // Unsigned negation: even the most negative value keeps its true magnitude.
    const uint64_t bits = static_cast<uint64_t>(microseconds);
    const uint64_t magnitude = negative ? 0 - bits : bits;
    const DurationTemplates& wording = negative ? kNegativeDuration : kPositiveDuration;

    const uint64_t days = magnitude / kMicrosecondsPerDay;
    const uint64_t belowOneDay = magnitude % kMicrosecondsPerDay;
    const Utf8Text daysText = FormatUnsigned(days);
    const ClockDigits clock = FormatClockDigits(belowOneDay);

    if (days == 0) return LocalizeClock(wording.clock, clock);
    // Whole days ignore the dropped fraction: one day and half a second is "1 day".
    const bool wholeDays = belowOneDay < kMicrosecondsPerUnsignedSecond;
    if (days == 1) {
        return wholeDays ? Localize(MakeTemplate(wording.oneDay))
                         : LocalizeClock(wording.oneDayAndClock, clock);
    }
    return wholeDays ? Localize(MakeTemplate(wording.days), daysText)
                     : LocalizeDaysAndClock(wording.daysAndClock, daysText, clock);
}
