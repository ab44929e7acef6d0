#pragma once

#include <string>
#include <vector>

#include "support/Timestamp.h"

namespace Kramo {

// The figures of one desk's day: what its drawer must hold. Money adds up in whole cents.
struct CashUp {
    // The purchases that stand, made within one hour of the day.
    struct Hour {
        int hour = 0;  // 0..23
        int purchases = 0;
        int items = 0;
        double total = 0.0;
    };

    std::string desk;
    Timestamp day;  // its year, month and day
    // Every purchase of the day, those taken back later included.
    int purchases = 0;
    double total = 0.0;
    int cancellations = 0;
    double cancelledTotal = 0.0;
    // What stands: total less the cancelled purchases.
    double netTotal = 0.0;
    // Items of the purchases that stand, sold anyway although not in stock.
    int forcedCount = 0;
    double forcedTotal = 0.0;
    // Only hours with a purchase that stands, earliest first; they add up to netTotal.
    std::vector<Hour> hours;
};

}  // namespace Kramo
