#include "support/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using Kramo::Clock;
using Kramo::Timestamp;

// Sets a POSIX time-zone rule for one test (no time-zone database needed).
class ZoneScope {
  public:
    explicit ZoneScope(const char* rule) {
        if (const char* former = std::getenv("TZ")) {
            former_ = former;
            hadFormer_ = true;
        }
        setenv("TZ", rule, 1);
        tzset();
    }
    ~ZoneScope() {
        hadFormer_ ? setenv("TZ", former_.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

  private:
    std::string former_;
    bool hadFormer_ = false;
};

constexpr const char* CentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

std::time_t Utc(int year, int month, int day, int hour, int minute) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    return timegm(&time);
}

TEST(Clock, LocalTimeFollowsDaylightSavingOnlyWhenInEffect) {
    ZoneScope zone(CentralEurope);
    const Timestamp winter = Clock::LocalTimestamp(Utc(2026, 1, 15, 10, 0));
    EXPECT_EQ(winter.Hour, 11);
    const Timestamp summer = Clock::LocalTimestamp(Utc(2026, 7, 1, 10, 0));
    EXPECT_EQ(summer.Hour, 12);
}

TEST(Clock, LocalTimeCarriesAcrossTheYearEnd) {
    ZoneScope zone(CentralEurope);
    const Timestamp time = Clock::LocalTimestamp(Utc(2026, 12, 31, 23, 30));
    EXPECT_EQ(time.Year, 2027);
    EXPECT_EQ(time.Month, 1);
    EXPECT_EQ(time.Day, 1);
    EXPECT_EQ(time.Hour, 0);
    EXPECT_EQ(time.Minute, 30);
    EXPECT_EQ(time.DayOfWeek, 5);  // a Friday
    EXPECT_EQ(time.ReservedA, 0);
    EXPECT_EQ(time.ReservedB, -1);
}

TEST(Clock, CurrentTimestampIsFilledIn) {
    const Timestamp now = Kramo::CurrentTimestamp();
    EXPECT_GE(now.Year, 2024);
    EXPECT_GE(now.Month, 1);
    EXPECT_LE(now.Month, 12);
    EXPECT_GE(now.DayOfWeek, 0);
    EXPECT_LE(now.DayOfWeek, 6);
    EXPECT_EQ(now, Clock::Instance().Current());
}

TEST(Clock, EmptyTimestamp) {
    const Timestamp empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.Year, 0);
    EXPECT_EQ(empty.DayOfWeek, -1);
    EXPECT_EQ(empty.ReservedB, -1);
    EXPECT_FALSE(Kramo::CurrentTimestamp().IsEmpty());
}

TEST(DateText, StartsWithTheEmptyWeekDayText) {
    Timestamp time;
    time.Year = 2026;
    time.Month = 12;
    time.Day = 31;
    time.Hour = 23;
    time.Minute = 59;
    time.DayOfWeek = 4;
    EXPECT_EQ(Kramo::FormatDateText(time), " 31.12. 2026 23:59");
    time.Month = 1;
    time.Day = 7;
    time.Hour = 5;
    time.Minute = 5;
    EXPECT_EQ(Kramo::FormatDateText(time), " 7.1. 2026 05:05");
    time.DayOfWeek = -1;
    EXPECT_EQ(Kramo::FormatDateText(time), "- 7.1. 2026 05:05");
}

TEST(DateText, OfTheCurrentTimeStartsWithABlank) {
    const std::string text = Kramo::FormatDateText();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text[0], ' ');
}

}  // namespace
