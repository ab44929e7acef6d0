#pragma once

namespace Kramo {

// What another desk changed in a shared store: the record to read again, or to drop when it
// is gone.
struct StoreChange {
    enum class Record { Item, Seller };
    Record record = Record::Item;
    int id = -1;
    int sellerId = -1;  // for an item: its seller
    bool removed = false;

    bool operator==(const StoreChange& other) const {
        return record == other.record && id == other.id && sellerId == other.sellerId &&
               removed == other.removed;
    }
};

}  // namespace Kramo
