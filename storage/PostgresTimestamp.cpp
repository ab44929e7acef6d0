#include "PostgresTimestamp.h"

#include <cstdlib>
#include <vector>

#include "support/FormatText.h"
#include "support/TextHelpers.h"

namespace Kramo {
namespace {

int LeadingInteger(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

}  // namespace

std::string FormatPostgresTimestamp(const Timestamp& time) {
    return FormatText("%04i-%02i-%02i %02i:%02i:%02i", time.Year, time.Month, time.Day, time.Hour,
                      time.Minute, time.Second);
}

bool ParsePostgresTimestamp(const std::string& text, Timestamp& time) {
    const std::vector<std::string> halves = SplitText(text, " ");
    if (halves.size() != 2) {
        return false;
    }
    const std::vector<std::string> date = SplitText(halves[0], "-");
    const std::vector<std::string> clock = SplitText(halves[1], ":");
    if (date.size() != 3 || clock.size() != 3) {
        return false;
    }
    time.Year = LeadingInteger(date[0]);
    time.Month = LeadingInteger(date[1]);
    time.Day = LeadingInteger(date[2]);
    time.Hour = LeadingInteger(clock[0]);
    time.Minute = LeadingInteger(clock[1]);
    time.Second = LeadingInteger(clock[2]);
    return true;
}

bool IsStorableTimestamp(const Timestamp& time) {
    // The database refuses a month 13 or a 30 February as a whole statement, so those count
    // as invalid too and are replaced like any other invalid time stamp.
    return time.Year >= 1900 && time.Year <= 9999 && time.Month >= 1 && time.Month <= 12 &&
           time.Day >= 1 && time.Day <= DaysInMonth(time.Year, time.Month) && time.Hour >= 0 &&
           time.Hour <= 23 && time.Minute >= 0 && time.Minute <= 59 && time.Second >= 0 &&
           time.Second <= 59;
}

}  // namespace Kramo
