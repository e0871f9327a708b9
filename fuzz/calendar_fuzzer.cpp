// The calendar arithmetic and the duration text: day numbers of valid dates agree with a
// separately written civil-date formula and invert exactly; no 64-bit value breaks either.

#include <fuzzer/FuzzedDataProvider.h>

#include "format/date_time_format.h"
#include "format/local_time.h"
#include "request_memory.h"

namespace {

constexpr uint32_t kMaxYear = 0xFFFFFFFFu;
constexpr int64_t kDaysFrom0000To1970 = 719528;
constexpr int64_t kDaysPer400Years = 146097;

uint8_t DaysInMonth(uint32_t year, int32_t month) {
    static constexpr uint8_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Days since 0000-01-01, counted from March so that the leap day ends each cycle year.
int64_t ReferenceDayNumber(uint32_t year, int32_t month, uint8_t day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
    const int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPer400Years + dayOfEra - 719468 + kDaysFrom0000To1970;
}

void CheckDate(uint32_t year, int32_t month, uint8_t day) {
    LocalDateTime date;
    date.year = year;
    date.month = month;
    date.day = day;
    const int64_t number = date.DayNumber();
    FUZZ_CHECK(number == ReferenceDayNumber(year, month, day));

    LocalDateTime back;
    back.SetFromDayNumber(number);
    FUZZ_CHECK(back.year == year && back.month == month && back.day == day);
}

void CheckDuration(int64_t microseconds) {
    const Utf8Text text = FormatDuration(microseconds);  // must not throw: nothing is translated
    FUZZ_CHECK(text.size() > 0 && text.first()[text.size()] == '\0');
    FUZZ_CHECK((text.first()[0] == '-') == (microseconds < 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const uint32_t year = provider.ConsumeIntegralInRange<uint32_t>(0, kMaxYear);
    const int32_t month = provider.ConsumeIntegralInRange<int32_t>(1, 12);
    const uint8_t day = provider.ConsumeIntegralInRange<uint8_t>(1, DaysInMonth(year, month));
    CheckDate(year, month, day);

    // Any day number at all, valid or not, stays a calendar date.
    LocalDateTime anyDay;
    anyDay.SetFromDayNumber(provider.ConsumeIntegral<int64_t>());
    FUZZ_CHECK(anyDay.month >= 1 && anyDay.month <= 12);
    FUZZ_CHECK(anyDay.day >= 1 && anyDay.day <= DaysInMonth(anyDay.year, anyDay.month));

    CheckDuration(provider.ConsumeIntegral<int64_t>());
    return 0;
}
