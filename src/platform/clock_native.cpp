#include <ctime>

#include "platform/platform.h"

namespace platform {
namespace {

constexpr time_t kSecondsPerDay = 86400;
constexpr int kDaysProbed = 367;
constexpr int kSecondsPerMinute = 60;

bool IsDaylight(time_t moment) {
    tm local;
    return localtime_r(&moment, &local) != nullptr && local.tm_isdst > 0;
}

// The local month (1 to 12) of the first moment in (before, after] on the side of `after`.
uint16_t TransitionMonth(time_t before, time_t after) {
    const bool daylightAfter = IsDaylight(after);
    while (after - before > 1) {
        const time_t middle = before + (after - before) / 2;
        (IsDaylight(middle) == daylightAfter ? after : before) = middle;
    }
    tm local;
    localtime_r(&after, &local);
    return static_cast<uint16_t>(local.tm_mon + 1);
}

// What one pass over the year (a sample each day) learns of the zone's rules.
struct YearRules {
    bool hasStandard = false;
    bool hasDaylight = false;
    long standardOffset = 0;  // seconds east of UTC
    long daylightOffset = 0;
    uint16_t standardMonth = 0;  // when daylight saving ends
    uint16_t daylightMonth = 0;  // when it begins
};

YearRules ProbeYear(int tmYear) {
    tm januaryFirst = {};
    januaryFirst.tm_year = tmYear;
    januaryFirst.tm_mday = 1;
    januaryFirst.tm_hour = 12;
    const time_t start = timegm(&januaryFirst);

    YearRules rules;
    time_t previous = start;
    bool previousDaylight = false;
    for (int day = 0; day < kDaysProbed; ++day) {
        const time_t moment = start + day * kSecondsPerDay;
        tm local;
        if (localtime_r(&moment, &local) == nullptr || local.tm_year != tmYear) break;
        const bool daylight = local.tm_isdst > 0;
        bool& seen = daylight ? rules.hasDaylight : rules.hasStandard;
        if (!seen) {
            seen = true;
            (daylight ? rules.daylightOffset : rules.standardOffset) = local.tm_gmtoff;
        }
        // A southern zone starts the year in daylight saving: only real changes give a month.
        uint16_t& month = daylight ? rules.daylightMonth : rules.standardMonth;
        if (day != 0 && daylight != previousDaylight && month == 0) {
            month = TransitionMonth(previous, moment);
        }
        previous = moment;
        previousDaylight = daylight;
    }
    return rules;
}

int32_t BiasMinutes(long secondsEast) {
    return static_cast<int32_t>(-secondsEast / kSecondsPerMinute);
}

}  // namespace

void GetLocalTime(SystemTime& time) {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    time.year = static_cast<uint16_t>(local.tm_year + 1900);
    time.month = static_cast<uint16_t>(local.tm_mon + 1);
    time.dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    time.day = static_cast<uint16_t>(local.tm_mday);
    time.hour = static_cast<uint16_t>(local.tm_hour);
    time.minute = static_cast<uint16_t>(local.tm_min);
    time.second = static_cast<uint16_t>(local.tm_sec);
    time.milliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
}

// Derives the fields Windows would report from the C library's rules for the TZ in force: the
// standard offset as Bias, daylight saving as DaylightBias with the months it begins and ends.
uint32_t GetTimeZoneInformation(TimeZoneInformation& info) {
    info = TimeZoneInformation();
    tzset();
    const time_t now = std::time(nullptr);
    tm local;
    if (localtime_r(&now, &local) == nullptr) return kTimeZoneIdInvalid;

    const YearRules rules = ProbeYear(local.tm_year);
    const bool daylightNow = local.tm_isdst > 0;
    if (!rules.hasStandard || !rules.hasDaylight) {
        info.bias = BiasMinutes(local.tm_gmtoff);
        return kTimeZoneIdUnknown;  // no daylight saving this year
    }
    const long standardOffset = daylightNow ? rules.standardOffset : local.tm_gmtoff;
    const long daylightOffset = daylightNow ? local.tm_gmtoff : rules.daylightOffset;
    info.bias = BiasMinutes(standardOffset);
    info.standardDateMonth = rules.standardMonth;
    info.daylightDateMonth = rules.daylightMonth;
    info.daylightBias = BiasMinutes(daylightOffset - standardOffset);
    return daylightNow ? kTimeZoneIdDaylight : kTimeZoneIdStandard;
}

}  // namespace platform
