#pragma once

#include <cstdint>

#include "format/time_of_day.h"
#include "format/time_units.h"
#include "platform/platform.h"

// Microseconds since 1970-01-01 00:00:00 UTC.
using Timestamp = int64_t;

constexpr int64_t kSecondsPerDay = 86400;

// A local calendar date and time of day; `offset` is the seconds added to UTC to get it.
struct LocalDateTime {
    uint8_t day = 1;    // 1 to 31
    int32_t month = 1;  // 1 to 12
    uint32_t year = 1970;
    TimeOfDay time;
    int32_t offset = 0;

    // Days since 0000-01-01 of the proleptic Gregorian calendar (year 0 is a leap year).
    int64_t DayNumber() const;
    // Sets day, month and year; day numbers before 0000-01-01 give that day, as the year is
    // unsigned, and past the last representable year its last day.
    void SetFromDayNumber(int64_t dayNumber);
    void AddDays(int64_t days);
    // Carries into the date; negative amounts go back in time.
    void AddSeconds(int64_t seconds);
};

bool IsLeapYear(uint32_t year);

// The current time, read as local time from the platform and turned into UTC with the offset.
Timestamp CurrentTimestamp();
// A local date and time as a Timestamp, given that local time is `offset` seconds ahead of UTC.
Timestamp TimestampFromLocalTime(const platform::SystemTime& local, int32_t offset);

// Local minus UTC in seconds, from the time zone information queried once per process.
int32_t LocalOffsetSeconds();
// The offset rule on its own: daylight or standard bias only when the zone reports that season
// and has a transition date and a non-zero bias for it.
int32_t OffsetFromTimeZone(uint32_t resultCode, const platform::TimeZoneInformation& zone);

// The local date and time of `timestamp` for `offset`; the microseconds are dropped first, toward
// zero.
LocalDateTime ToLocalDateTime(Timestamp timestamp, int32_t offset);
