#pragma once

#include <string>

#include "support/Timestamp.h"

namespace Kramo {

// A sale as the store has it on record, for the cash-up of a desk.
struct RecordedSale {
    std::string key;
    std::string desk;
    Timestamp time;
    int itemCount = 0;
    double total = 0.0;  // the items' prices at the time of the sale
    bool cancelled = false;
    // Items sold anyway although not in stock, and their part of the total.
    int forcedCount = 0;
    double forcedTotal = 0.0;
};

}  // namespace Kramo
