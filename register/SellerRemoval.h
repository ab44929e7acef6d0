#pragma once

#include <string>
#include <vector>

#include "core/DataAccessInterface.h"

namespace Kramo {

// Removing a seller with all their items. A seller with a sold item stays: that sale is
// still to be paid out and counted in the statistics.
class SellerRemoval {
  public:
    // Why the seller with these items cannot be removed; empty when they can.
    static std::string Refusal(const std::vector<Item>& items);

    // Removes the seller from the store after a question naming the seller and the number of
    // items; a refusal or a failure is shown in a box. True when the seller is gone.
    static bool RemoveAfterQuestion(DataAccessInterface& store, const Seller& seller);
};

}  // namespace Kramo
