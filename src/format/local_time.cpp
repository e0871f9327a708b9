#include "format/local_time.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kMonthsPerYear = 12;
constexpr int64_t kSecondsPerHour = 3600;
constexpr int64_t kSecondsPerMinute = 60;
constexpr int kFirstDayOfYearAfterFebruary28 = 59;  // day of year of 29 February in a leap year

// Days before each month in a non-leap year, indexed by month 1 to 12.
constexpr int kDaysBeforeMonth[kMonthsPerYear + 1] = {0,   0,   31,  59,  90,  120, 151,
                                                      181, 212, 243, 273, 304, 334};

constexpr bool LeapYear(uint64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Day number of 1 January of `year`.
constexpr int64_t YearBase(uint64_t year) {
    if (year == 0) return 0;
    return static_cast<int64_t>(365 * year + (year - 1) / 4 - (year - 1) / 100 + (year - 1) / 400 +
                                1);
}

constexpr int DaysBeforeMonth(uint64_t year, int32_t month) {
    month = std::min(std::max(month, 1), kMonthsPerYear);  // a bad month must not index outside
    return kDaysBeforeMonth[month] + (LeapYear(year) && month > 2 ? 1 : 0);
}

constexpr int64_t DayNumberOf(uint64_t year, int32_t month, uint32_t day) {
    return YearBase(year) + DaysBeforeMonth(year, month) + day - 1;
}

constexpr int64_t kLastDayNumber = DayNumberOf(std::numeric_limits<uint32_t>::max(), 12, 31);

// The day number of 1970-01-01, computed on first use.
int64_t EpochDayNumber() {
    static const int64_t epoch = DayNumberOf(1970, 1, 1);
    return epoch;
}

struct TimeZoneQuery {
    platform::TimeZoneInformation zone;
    uint32_t resultCode = platform::kTimeZoneIdInvalid;
};

// Queried once: a zone change while the process runs is not seen.
const TimeZoneQuery& CachedTimeZone() {
    static const TimeZoneQuery query = [] {
        TimeZoneQuery result;
        result.resultCode = platform::GetTimeZoneInformation(result.zone);
        return result;
    }();
    return query;
}

}  // namespace

bool IsLeapYear(uint32_t year) {
    return LeapYear(year);
}

int64_t LocalDateTime::DayNumber() const {
    return DayNumberOf(year, month, day);
}

void LocalDateTime::SetFromDayNumber(int64_t dayNumber) {
    const uint64_t n =
        static_cast<uint64_t>(std::min(std::max<int64_t>(dayNumber, 0), kLastDayNumber));
    uint64_t m = n > 0 ? n - 1 : n;
    m -= m / 146097;
    m += m / 36524;
    m -= m / 1461;
    const uint64_t y = m / 365;

    const int dayOfYear = static_cast<int>(n - static_cast<uint64_t>(YearBase(y)));
    const bool leap = LeapYear(y);
    const int searched =
        leap && dayOfYear >= kFirstDayOfYearAfterFebruary28 ? dayOfYear - 1 : dayOfYear;
    int32_t foundMonth = kMonthsPerYear;
    for (int32_t i = 2; i <= kMonthsPerYear; ++i) {
        if (searched < kDaysBeforeMonth[i]) {
            foundMonth = i - 1;
            break;
        }
    }
    year = static_cast<uint32_t>(y);
    month = foundMonth;
    day = static_cast<uint8_t>(dayOfYear - DaysBeforeMonth(y, foundMonth) + 1);
}

void LocalDateTime::AddDays(int64_t days) {
    // Any larger step leaves the representable years anyway; bounding it keeps the sum defined.
    days = std::min(std::max(days, -kLastDayNumber - 1), kLastDayNumber + 1);
    SetFromDayNumber(DayNumber() + days);
}

void LocalDateTime::AddSeconds(int64_t seconds) {
    int64_t days = seconds / kSecondsPerDay;
    int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {  // floor, so that the rest is a time of day
        days -= 1;
        rest += kSecondsPerDay;
    }
    AddDays(days);
    int64_t t = time.hour * kSecondsPerHour + time.minute * kSecondsPerMinute + time.second + rest;
    if (t >= kSecondsPerDay) {
        AddDays(t / kSecondsPerDay);
        t %= kSecondsPerDay;
    }
    time.hour = static_cast<uint8_t>(t / kSecondsPerHour);
    time.minute = static_cast<uint8_t>(t / kSecondsPerMinute % 60);
    time.second = static_cast<uint8_t>(t % 60);
}

int32_t OffsetFromTimeZone(uint32_t resultCode, const platform::TimeZoneInformation& zone) {
    int64_t biasMinutes = zone.bias;
    if (resultCode == platform::kTimeZoneIdDaylight && zone.daylightDateMonth != 0 &&
        zone.daylightBias != 0) {
        biasMinutes += zone.daylightBias;
    } else if (resultCode == platform::kTimeZoneIdStandard && zone.standardDateMonth != 0 &&
               zone.standardBias != 0) {
        biasMinutes += zone.standardBias;
    }
    return static_cast<int32_t>(-biasMinutes * kSecondsPerMinute);
}

int32_t LocalOffsetSeconds() {
    const TimeZoneQuery& query = CachedTimeZone();
    return OffsetFromTimeZone(query.resultCode, query.zone);
}

Timestamp TimestampFromLocalTime(const platform::SystemTime& local, int32_t offset) {
    const int64_t days = DayNumberOf(local.year, local.month, local.day) - EpochDayNumber();
    const int64_t secondsOfDay =
        local.hour * kSecondsPerHour + local.minute * kSecondsPerMinute + local.second;
    return days * kSecondsPerDay * kMicrosecondsPerSecond +
           (secondsOfDay - offset) * kMicrosecondsPerSecond;
}

Timestamp CurrentTimestamp() {
    platform::SystemTime now;
    platform::GetLocalTime(now);  // milliseconds are dropped
    return TimestampFromLocalTime(now, LocalOffsetSeconds());
}

LocalDateTime ToLocalDateTime(Timestamp timestamp, int32_t offset) {
    LocalDateTime result;  // 1970-01-01 00:00:00, offset 0
    result.AddSeconds(timestamp / kMicrosecondsPerSecond);
    result.AddSeconds(offset);
    result.offset = offset;
    return result;
}
