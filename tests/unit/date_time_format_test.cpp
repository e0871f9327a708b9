#include "format/date_time_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>
#include <string>

#include "format/template.h"
#include "support/scoped_overrides.h"

namespace {

std::string Text(const Utf8Text& text) {
    return std::string(text.first(), text.last());
}

constexpr int64_t kSecond = 1000000;
constexpr int64_t kMinute = 60 * kSecond;
constexpr int64_t kHour = 60 * kMinute;
constexpr int64_t kDay = 24 * kHour;

constexpr const char kClockTemplate[] =
    "{hours10}{hours1}:{miniutes10}{minutes1}:{seconds10}{seconds1}";

TEST(FormatMonthName, TwelveEnglishNames) {
    const char* const names[] = {"January",   "February", "March",    "April",
                                 "May",       "June",     "July",     "August",
                                 "September", "October",  "November", "December"};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(Text(FormatMonthName(month)), names[month - 1]);
    }
}

TEST(FormatMonthName, OtherNumbersCantBeFormatted) {
    for (int month : {0, 13, -1, 100, INT_MIN, INT_MAX}) {
        EXPECT_THROW(FormatMonthName(month), CantFormatMonth) << month;
    }
}

TEST(FormatTimeOfDay, HourWithoutLeadingZeroMinutesAndSecondsWithTwoDigits) {
    struct Case {
        TimeOfDay time;
        const char* expected;
    };
    const Case cases[] = {
        {{9, 5, 7}, "9:05:07"},    {{0, 0, 0}, "0:00:00"},     {{23, 59, 59}, "23:59:59"},
        {{12, 30, 0}, "12:30:00"}, {{10, 10, 10}, "10:10:10"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(FormatTimeOfDay(c.time)), c.expected);
    }
}

TEST(FormatDuration, ClockDaysAndSign) {
    struct Case {
        int64_t microseconds;
        const char* expected;
    };
    const Case cases[] = {
        {0, "00:00:00"},
        {90 * kSecond, "00:01:30"},
        {59 * kSecond + 900000, "00:00:59"},
        {kDay - 1, "23:59:59"},
        {19 * kHour + 10 * kMinute, "19:10:00"},
        {kDay, "1 day"},
        {kDay + kSecond / 2, "1 day"},
        {kDay + kSecond, "1 day, 00:00:01"},
        {2 * kDay, "2 days"},
        {2 * kDay + 3 * kHour, "2 days, 03:00:00"},
        {400 * kDay + kMinute, "400 days, 00:01:00"},
        {-90 * kSecond, "-00:01:30"},
        {-(kSecond + kSecond / 2), "-00:00:01"},
        {-1, "-00:00:00"},
        {-(kSecond - 1), "-00:00:00"},  // the last magnitude below a second
        {-kDay, "-1 day"},
        {-(kDay + 10 * kHour), "-1 day, 10:00:00"},
        {-2 * kDay, "-2 days"},
        {-(2 * kDay + kSecond), "-2 days, 00:00:01"},
        {std::numeric_limits<int64_t>::max(), "106751991 days, 04:00:54"},
        // The most negative value keeps its true magnitude.
        {std::numeric_limits<int64_t>::min(), "-106751991 days, 04:00:54"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(FormatDuration(c.microseconds)), c.expected) << c.microseconds;
    }
}

TEST(DateTimeTranslated, WordingsAndMonthNamesAreTranslatable) {
    const ScopedOverrides overrides{
        {"May", "Mai"},
        {"{days} days", "{days} Tage"},
        {"-1 day", "vor 1 Tag"},
        {"{hour}:{minutes_tens}{minute_ones}:{second_tens}{second_ones}",
         "{hour}h{minutes_tens}{minute_ones}"}};
    EXPECT_EQ(Text(FormatMonthName(5)), "Mai");
    EXPECT_EQ(Text(FormatDuration(3 * kDay)), "3 Tage");
    EXPECT_EQ(Text(FormatDuration(-kDay)), "vor 1 Tag");
    EXPECT_EQ(Text(FormatTimeOfDay({9, 5, 7})), "9h05");
}

TEST(DateTimeTranslated, ZeroDigitReachesEveryClock) {
    const ScopedOverrides overrides{{"0", "o"}};
    EXPECT_EQ(Text(FormatDuration(2 * kDay + 3 * kHour)), "2 days, o3:oo:oo");
    EXPECT_EQ(Text(FormatDuration(-10 * kSecond)), "-oo:oo:1o");
    EXPECT_EQ(Text(FormatTimeOfDay({10, 0, 5})), "1o:oo:o5");
}

TEST(DateTimeTranslated, TranslatedMinusSignLeavesDurationsAlone) {
    const ScopedOverrides overrides{{"-", "minus "}};
    EXPECT_EQ(Text(FormatDuration(-90 * kSecond)), "-00:01:30");
    EXPECT_EQ(Text(FormatDuration(-2 * kDay)), "-2 days");
}

TEST(DateTimeTranslated, VariableNamesMustBeSpelledAsInTheEnglishTemplate) {
    const ScopedOverrides overrides{
        {kClockTemplate, "{hours10}{hours1}:{minutes10}{minutes1}:{seconds10}{seconds1}"},
        {"{days} days", "{day} Tage"},
        {"{hour}:{minutes_tens}{minute_ones}:{second_tens}{second_ones}",
         "{hour}:{minute_tens}{minute_ones}"}};
    EXPECT_THROW(FormatDuration(90 * kSecond), UndefinedFormatVariable);
    EXPECT_THROW(FormatDuration(2 * kDay), UndefinedFormatVariable);
    EXPECT_THROW(FormatTimeOfDay({9, 5, 7}), UndefinedFormatVariable);
    // Other wordings are untouched.
    EXPECT_EQ(Text(FormatDuration(kDay + kSecond)), "1 day, 00:00:01");
}

}  // namespace
