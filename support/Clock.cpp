#include "Clock.h"

#include "FormatText.h"

namespace Kramo {

Clock& Clock::Instance() {
    static Clock clock;
    return clock;
}

void Clock::Refresh() {
    current_ = LocalTimestamp(std::time(nullptr));
}

Timestamp Clock::LocalTimestamp(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    Timestamp time;
    time.Year = local.tm_year + 1900;
    time.Month = local.tm_mon + 1;
    time.Day = local.tm_mday;
    time.Hour = local.tm_hour;
    time.Minute = local.tm_min;
    time.Second = local.tm_sec;
    time.ReservedA = 0;
    time.DayOfWeek = local.tm_wday;
    time.ReservedB = -1;
    return time;
}

Timestamp CurrentTimestamp() {
    Clock::Instance().Refresh();
    return Clock::Instance().Current();
}

std::string FormatDateText(const Timestamp& time) {
    const char* weekDay = time.DayOfWeek == -1 ? "-" : "";
    const std::string month = FormatText("%i.", time.Month);
    return FormatText("%s %i.%s %i %02i:%02i", weekDay, time.Day, month.c_str(), time.Year,
                      time.Hour, time.Minute);
}

std::string FormatDateText() {
    return FormatDateText(CurrentTimestamp());
}

}  // namespace Kramo
