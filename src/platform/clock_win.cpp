#include <windows.h>

#include "platform/platform.h"

namespace platform {

void GetLocalTime(SystemTime& time) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    time.year = now.wYear;
    time.month = now.wMonth;
    time.dayOfWeek = now.wDayOfWeek;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.milliseconds = now.wMilliseconds;
}

uint32_t GetTimeZoneInformation(TimeZoneInformation& info) {
    // Zero-filled, so that a failing query leaves a bias of 0.
    TIME_ZONE_INFORMATION zone = {};
    const DWORD result = ::GetTimeZoneInformation(&zone);
    info = TimeZoneInformation();
    info.bias = zone.Bias;
    info.standardDateMonth = zone.StandardDate.wMonth;
    info.standardBias = zone.StandardBias;
    info.daylightDateMonth = zone.DaylightDate.wMonth;
    info.daylightBias = zone.DaylightBias;
    return result;
}

}  // namespace platform
