#include "format/local_time.h"

#include <gtest/gtest.h>

namespace {

LocalDateTime Date(uint32_t year, int32_t month, uint8_t day, uint8_t hour = 0, uint8_t minute = 0,
                   uint8_t second = 0) {
    LocalDateTime date;
    date.year = year;
    date.month = month;
    date.day = day;
    date.time = TimeOfDay{hour, minute, second};
    return date;
}

void ExpectDateTime(const LocalDateTime& actual, const LocalDateTime& expected) {
    EXPECT_EQ(actual.year, expected.year);
    EXPECT_EQ(actual.month, expected.month);
    EXPECT_EQ(actual.day, expected.day);
    EXPECT_EQ(actual.time.hour, expected.time.hour);
    EXPECT_EQ(actual.time.minute, expected.time.minute);
    EXPECT_EQ(actual.time.second, expected.time.second);
}

// Month lengths written out, independent of the day-number arithmetic under test.
int DaysInMonth(uint32_t year, int32_t month) {
    static const int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kLengths[month - 1];
}

TEST(DayNumber, KnownDays) {
    EXPECT_EQ(Date(0, 1, 1).DayNumber(), 0);
    EXPECT_EQ(Date(0, 12, 31).DayNumber(), 365);  // year 0 is a leap year
    EXPECT_EQ(Date(1, 1, 1).DayNumber(), 366);
    EXPECT_EQ(Date(1970, 1, 1).DayNumber(), 719528);
}

// Walks every day from 0000-01-01 to 9999-12-31 and checks both directions.
TEST(DayNumber, SetFromDayNumberInvertsEveryDate) {
    int64_t expected = 0;
    LocalDateTime converted;
    for (uint32_t year = 0; year <= 9999; ++year) {
        for (int32_t month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day, ++expected) {
                const LocalDateTime date = Date(year, month, static_cast<uint8_t>(day));
                const int64_t number = date.DayNumber();
                converted.SetFromDayNumber(number);
                if (number != expected || converted.year != year || converted.month != month ||
                    converted.day != day) {
                    FAIL() << year << "-" << month << "-" << day << " is day " << number
                           << ", which converts back to " << converted.year << "-"
                           << converted.month << "-" << int(converted.day);
                }
            }
        }
    }
}

TEST(DayNumber, LeapYears) {
    for (uint32_t year : {0u, 2000u, 2004u, 2400u}) EXPECT_TRUE(IsLeapYear(year)) << year;
    for (uint32_t year : {1900u, 2100u, 2001u, 2200u}) EXPECT_FALSE(IsLeapYear(year)) << year;

    const LocalDateTime leapDay = Date(2004, 2, 29);
    EXPECT_EQ(leapDay.DayNumber() - Date(2004, 1, 1).DayNumber(), 59);
    EXPECT_EQ(Date(2004, 3, 1).DayNumber() - leapDay.DayNumber(), 1);
    EXPECT_EQ(Date(1900, 3, 1).DayNumber() - Date(1900, 2, 28).DayNumber(), 1);
    LocalDateTime back;
    back.SetFromDayNumber(leapDay.DayNumber());
    EXPECT_EQ(back.month, 2);
    EXPECT_EQ(back.day, 29);
}

TEST(DayNumber, OutOfRangeDayNumbersStayOnTheCalendar) {
    LocalDateTime date;
    date.SetFromDayNumber(-5);
    ExpectDateTime(date, Date(0, 1, 1));
    date.SetFromDayNumber(INT64_MAX);
    EXPECT_EQ(date.year, UINT32_MAX);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.day, 31);
}

TEST(AddSeconds, CarriesIntoTheDate) {
    LocalDateTime date = Date(1999, 12, 31, 0, 0, 1);
    date.AddSeconds(86399);
    ExpectDateTime(date, Date(2000, 1, 1, 0, 0, 0));

    date = Date(2000, 1, 1);
    date.AddSeconds(-1);
    ExpectDateTime(date, Date(1999, 12, 31, 23, 59, 59));

    date = Date(2004, 2, 28, 23, 0, 0);
    date.AddSeconds(2 * 86400 + 3600 + 61);
    ExpectDateTime(date, Date(2004, 3, 2, 0, 1, 1));

    date = Date(2004, 3, 1, 0, 30, 0);
    date.AddSeconds(-86400 - 1800 - 1);
    ExpectDateTime(date, Date(2004, 2, 28, 23, 59, 59));
}

TEST(AddDays, CrossesMonthsAndYears) {
    LocalDateTime date = Date(2023, 12, 31, 12, 0, 0);
    date.AddDays(60);
    ExpectDateTime(date, Date(2024, 2, 29, 12, 0, 0));
    date.AddDays(-366);
    ExpectDateTime(date, Date(2023, 2, 28, 12, 0, 0));
}

TEST(ToLocalDateTime, AppliesTheOffsetAfterTruncating) {
    struct Case {
        Timestamp timestamp;
        int32_t offset;
        LocalDateTime expected;
    };
    const Case cases[] = {
        {0, 3600, Date(1970, 1, 1, 1, 0, 0)},
        {-1000000, 0, Date(1969, 12, 31, 23, 59, 59)},
        {-500000, 0, Date(1970, 1, 1, 0, 0, 0)},  // toward zero first, then the floor
        {-1500000, 0, Date(1969, 12, 31, 23, 59, 59)},
        {999999, -3600, Date(1969, 12, 31, 23, 0, 0)},
        {951782400LL * 1000000, 19800, Date(2000, 2, 29, 5, 30, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timestamp);
        const LocalDateTime local = ToLocalDateTime(c.timestamp, c.offset);
        ExpectDateTime(local, c.expected);
        EXPECT_EQ(local.offset, c.offset);
    }
}

TEST(TimestampFromLocalTime, MidnightOf1970) {
    platform::SystemTime midnight;
    midnight.year = 1970;
    midnight.month = 1;
    midnight.day = 1;
    platform::TimeZoneInformation zone;
    EXPECT_EQ(
        TimestampFromLocalTime(midnight, OffsetFromTimeZone(platform::kTimeZoneIdUnknown, zone)),
        0);
    zone.bias = -60;  // an hour east, no daylight saving in force
    EXPECT_EQ(
        TimestampFromLocalTime(midnight, OffsetFromTimeZone(platform::kTimeZoneIdStandard, zone)),
        -3600000000LL);
    midnight.milliseconds = 999;  // dropped
    EXPECT_EQ(TimestampFromLocalTime(midnight, 0), 0);
}

TEST(TimestampFromLocalTime, InvertsToLocalDateTime) {
    const Timestamp timestamps[] = {0, 1, 86399000000LL, 951782400LL * 1000000,
                                    4102444799LL * 1000000};
    for (int32_t offset : {0, 3600, -18000, 19800, 50400}) {
        for (Timestamp timestamp : timestamps) {
            const LocalDateTime local = ToLocalDateTime(timestamp, offset);
            platform::SystemTime time;
            time.year = static_cast<uint16_t>(local.year);
            time.month = static_cast<uint16_t>(local.month);
            time.day = local.day;
            time.hour = local.time.hour;
            time.minute = local.time.minute;
            time.second = local.time.second;
            EXPECT_EQ(TimestampFromLocalTime(time, offset), timestamp / 1000000 * 1000000)
                << timestamp << " at offset " << offset;
        }
    }
}

TEST(OffsetFromTimeZone, SeasonBiasOnlyWhenReportedAndSet) {
    struct Case {
        const char* name;
        uint32_t resultCode;
        platform::TimeZoneInformation zone;  // bias, standard month, standard bias, daylight ...
        int32_t expected;
    };
    const Case cases[] = {
        {"daylight in force", platform::kTimeZoneIdDaylight, {300, 11, 0, 3, -60}, -14400},
        {"daylight without a date", platform::kTimeZoneIdDaylight, {300, 11, 0, 0, -60}, -18000},
        {"daylight without a bias", platform::kTimeZoneIdDaylight, {300, 11, 0, 3, 0}, -18000},
        {"standard ignores daylight", platform::kTimeZoneIdStandard, {300, 11, 0, 3, -60}, -18000},
        {"standard with its own bias",
         platform::kTimeZoneIdStandard,
         {300, 11, 30, 3, -60},
         -19800},
        {"standard bias without a date",
         platform::kTimeZoneIdStandard,
         {300, 0, 30, 3, -60},
         -18000},
        {"daylight ignores the standard bias",
         platform::kTimeZoneIdDaylight,
         {-60, 10, 15, 3, -60},
         7200},
        {"no daylight saving", platform::kTimeZoneIdUnknown, {-330, 10, 30, 3, -60}, 19800},
        {"daylight bias of a minute", platform::kTimeZoneIdDaylight, {300, 11, 0, 3, 1}, -18060},
        {"standard bias of a minute", platform::kTimeZoneIdStandard, {300, 11, 1, 3, -60}, -18060},
        {"failed query", platform::kTimeZoneIdInvalid, {0, 0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OffsetFromTimeZone(c.resultCode, c.zone), c.expected) << c.name;
    }
}

// Brackets the call between two platform readings rather than timing anything.
TEST(CurrentTimestamp, LiesBetweenTwoReadingsOfTheClock) {
    const int32_t offset = LocalOffsetSeconds();
    EXPECT_EQ(offset, LocalOffsetSeconds());  // cached
    platform::SystemTime before, after;
    platform::GetLocalTime(before);
    const Timestamp now = CurrentTimestamp();
    platform::GetLocalTime(after);
    EXPECT_LE(TimestampFromLocalTime(before, offset), now);
    EXPECT_GE(TimestampFromLocalTime(after, offset), now);
    EXPECT_EQ(now % 1000000, 0);  // whole seconds
}

}  // namespace
