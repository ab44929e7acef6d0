#pragma once

#include <string>
#include <vector>

namespace Kramo {

// One purchase as the desk hands it to the store. The key is made at the desk once per
// purchase and kept for every retry of it: a store that records sales keeps it under a unique
// constraint, so a purchase whose first recording had an unknown outcome is recorded once.
struct SaleRecord {
    std::string key;
    std::string desk;          // the name of the desk in the settings
    std::vector<int> itemIds;  // in the purchase's order
    // Items the cashier chose to sell although they were not in stock when added ("sell
    // anyway"); the store sells them whatever their state and records them as such. The
    // others are sold only while still in stock.
    std::vector<int> forcedItemIds;
    std::string title = "Sale";

    bool IsForced(int itemId) const;
};

}  // namespace Kramo
