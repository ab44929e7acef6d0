#pragma once

#include <cstdint>
#include <string>

#include "core/ItemStatus.h"
#include "support/Timestamp.h"

namespace Kramo {

// One item handed in by a seller.
struct Item {
    std::string NAME;
    int32_t NUMBER = -1;  // the seller's own label number; unique only within one seller
    double PRICE = -1.0;
    int32_t ITEM_CATEGORY_ID = -1;
    int32_t STATUS = Unassigned;
    int32_t ID = -1;  // unique over all sellers; -1 until a store assigns it
    Timestamp MODIFIED;
    int32_t SELLER_ID = -1;
    // The row version of a store shared by several desks, which it raises at every write; 0
    // where the store keeps none. Not part of the record's content (==).
    int32_t VERSION = 0;

    // A new, not yet stored item with the other's name, number, price, category and state.
    static Item NewFrom(const Item& other);

    bool operator==(const Item& other) const;
    bool operator!=(const Item& other) const { return !(*this == other); }
};

}  // namespace Kramo
