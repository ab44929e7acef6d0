#include "CashUpRules.h"

#include <cmath>
#include <map>
#include <set>

namespace Kramo {
namespace {

// Money adds up in whole cents: a day's sum of binary fractions would drift.
long long Cents(double amount) {
    return std::llround(amount * 100.0);
}

double Amount(long long cents) {
    return static_cast<double>(cents) / 100.0;
}

bool SameDay(const Timestamp& time, const Timestamp& day) {
    return time.Year == day.Year && time.Month == day.Month && time.Day == day.Day;
}

struct HourSums {
    int purchases = 0;
    int items = 0;
    long long cents = 0;
};

}  // namespace

CashUp ComputeCashUp(const std::vector<RecordedSale>& sales, const std::string& desk,
                     const Timestamp& day) {
    CashUp cashUp;
    cashUp.desk = desk;
    cashUp.day.Year = day.Year;
    cashUp.day.Month = day.Month;
    cashUp.day.Day = day.Day;
    long long total = 0;
    long long cancelled = 0;
    long long forced = 0;
    std::map<int, HourSums> hours;
    for (const RecordedSale& sale : sales) {
        if (sale.desk != desk || !SameDay(sale.time, day)) {
            continue;
        }
        ++cashUp.purchases;
        total += Cents(sale.total);
        if (sale.cancelled) {
            ++cashUp.cancellations;
            cancelled += Cents(sale.total);
            continue;
        }
        cashUp.forcedCount += sale.forcedCount;
        forced += Cents(sale.forcedTotal);
        HourSums& hour = hours[sale.time.Hour];
        ++hour.purchases;
        hour.items += sale.itemCount;
        hour.cents += Cents(sale.total);
    }
    cashUp.total = Amount(total);
    cashUp.cancelledTotal = Amount(cancelled);
    cashUp.netTotal = Amount(total - cancelled);
    cashUp.forcedTotal = Amount(forced);
    for (const auto& [hour, sums] : hours) {
        cashUp.hours.push_back({hour, sums.purchases, sums.items, Amount(sums.cents)});
    }
    return cashUp;
}

std::vector<std::string> DesksOnRecord(const std::vector<RecordedSale>& sales,
                                       const std::string& thisDesk) {
    std::set<std::string> others;
    for (const RecordedSale& sale : sales) {
        if (sale.desk != thisDesk) {
            others.insert(sale.desk);
        }
    }
    std::vector<std::string> desks{thisDesk};
    desks.insert(desks.end(), others.begin(), others.end());
    return desks;
}

}  // namespace Kramo
