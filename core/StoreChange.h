#pragma once

namespace Kramo {

// What another desk changed in a shared store: the record to read again, or to drop when it
// is gone. An ID of -1 (Everything()) means that notices may have been missed, while the
// store's way of learning them was broken: everything is to be read again.
struct StoreChange {
    enum class Record { Item, Seller };
    Record record = Record::Item;
    int id = -1;
    int sellerId = -1;  // for an item: its seller
    bool removed = false;

    static StoreChange Everything() { return StoreChange{}; }
    bool IsEverything() const { return id == -1; }

    bool operator==(const StoreChange& other) const {
        return record == other.record && id == other.id && sellerId == other.sellerId &&
               removed == other.removed;
    }
};

}  // namespace Kramo
