#pragma once

#include <cstdint>
#include <string>

#include "core/SellerStatus.h"
#include "support/Timestamp.h"

namespace Kramo {

// One seller taking part in the bazaar.
struct Seller {
    Seller();

    std::string NAME;
    std::string SHORT_CODE;  // how the checkout finds the seller
    std::string COMMENT;
    int32_t SELLER_CATEGORY_ID = -1;
    Timestamp MODIFIED;  // the current time when constructed
    int32_t ID = -1;     // -1 until a store assigns it
    int32_t STATUS = NotSelling;
    // The row version of a store shared by several desks, which it raises at every write; 0
    // where the store keeps none. Not part of the record's content (==).
    int32_t VERSION = 0;

    bool operator==(const Seller& other) const;
    bool operator!=(const Seller& other) const { return !(*this == other); }
};

}  // namespace Kramo
