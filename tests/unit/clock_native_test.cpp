#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "format/local_time.h"
#include "platform/platform.h"

namespace {

// Sets TZ for one test and puts the process's own back afterwards.
class ClockStandIn : public testing::Test {
  protected:
    void SetUp() override {
        const char* saved = std::getenv("TZ");
        hadZone_ = saved != nullptr;
        if (hadZone_) savedZone_ = saved;
    }
    void TearDown() override {
        if (hadZone_) {
            setenv("TZ", savedZone_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    static void UseZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

  private:
    bool hadZone_ = false;
    std::string savedZone_;
};

// Named zones need the system's database; POSIX rule strings do not.
bool Available(const char* zone) {
    struct stat info;
    return std::string(zone).find('/') == std::string::npos ||
           stat("/usr/share/zoneinfo/Europe/Berlin", &info) == 0;
}

struct ZoneCase {
    const char* zone;
    int32_t bias;
    int32_t daylightBias;
    uint16_t daylightMonth;
    uint16_t standardMonth;
};

const ZoneCase kZones[] = {
    {"UTC0", 0, 0, 0, 0},
    {"IST-5:30", -330, 0, 0, 0},
    {"CET-1CEST,M3.5.0,M10.5.0/3", -60, -60, 3, 10},
    {"EST5EDT,M3.2.0,M11.1.0", 300, -60, 3, 11},
    {"AEST-10AEDT,M10.1.0,M4.1.0/3", -600, -60, 10, 4},  // daylight saving across new year
    {"Europe/Berlin", -60, -60, 3, 10},
    {"America/New_York", 300, -60, 3, 11},
    {"Asia/Kolkata", -330, 0, 0, 0},
};

TEST_F(ClockStandIn, DerivesTheZoneFieldsAndTheOffsetOfNow) {
    for (const ZoneCase& c : kZones) {
        if (!Available(c.zone)) continue;
        SCOPED_TRACE(c.zone);
        UseZone(c.zone);
        platform::TimeZoneInformation zone;
        zone.bias = 12345;  // must be overwritten
        const uint32_t resultCode = platform::GetTimeZoneInformation(zone);

        EXPECT_EQ(zone.bias, c.bias);
        EXPECT_EQ(zone.standardBias, 0);
        EXPECT_EQ(zone.daylightBias, c.daylightBias);
        EXPECT_EQ(zone.daylightDateMonth, c.daylightMonth);
        EXPECT_EQ(zone.standardDateMonth, c.standardMonth);

        const time_t now = std::time(nullptr);
        tm local;
        ASSERT_NE(localtime_r(&now, &local), nullptr);
        if (c.daylightMonth == 0) {
            EXPECT_EQ(resultCode, platform::kTimeZoneIdUnknown);
        } else {
            EXPECT_EQ(resultCode, local.tm_isdst > 0 ? platform::kTimeZoneIdDaylight
                                                     : platform::kTimeZoneIdStandard);
        }
        EXPECT_EQ(OffsetFromTimeZone(resultCode, zone), local.tm_gmtoff);
    }
}

Timestamp RealtimeSeconds() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<Timestamp>(now.tv_sec);
}

TEST_F(ClockStandIn, LocalTimeFollowsTheZone) {
    for (const ZoneCase& c : kZones) {
        if (!Available(c.zone)) continue;
        SCOPED_TRACE(c.zone);
        UseZone(c.zone);
        platform::TimeZoneInformation zone;
        const int32_t offset = OffsetFromTimeZone(platform::GetTimeZoneInformation(zone), zone);
        // The stand-in's clock: time() reads a coarser one that can lag it by a tick, so across
        // a second's boundary it would put `after` before the local time just read.
        const Timestamp before = RealtimeSeconds() * kMicrosecondsPerSecond;
        platform::SystemTime local;
        platform::GetLocalTime(local);
        const Timestamp after = RealtimeSeconds() * kMicrosecondsPerSecond;
        const Timestamp read = TimestampFromLocalTime(local, offset);
        EXPECT_LE(before, read);
        EXPECT_GE(after, read);
        EXPECT_GE(local.month, 1);
        EXPECT_LE(local.month, 12);
        EXPECT_LT(local.milliseconds, 1000);
    }
}

}  // namespace
