#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/Item.h"

namespace Kramo {

// The items of the purchase at the checkout, by ID in the order they were added; each at most
// once. The purchase carries the key its sale is recorded under: the same for every try while
// the purchase stays as it is, so that a retry after an unknown outcome is recorded once; any
// change makes a new key.
class Purchase {
  public:
    bool Contains(int itemId) const;
    // False, and nothing changes, when the item is in the purchase already. A forced item is
    // one the cashier chose to sell although it was not in stock.
    bool Add(const Item& item, bool forced = false);
    // Removes the item at a position of the purchase; nothing for a position beyond it.
    void RemoveAt(std::size_t position);
    // Takes out the listed items that the purchase has.
    void Remove(const std::vector<int>& itemIds);
    void Clear();

    const std::vector<int>& ItemIds() const { return itemIds_; }
    std::vector<int> ForcedItemIds() const;
    // The item as it was when added, for naming it when the store has it no more.
    const Item& AddedItem(int itemId) const;
    const std::string& SaleKey() const;

  private:
    struct Entry {
        Item added;
        bool forced = false;
    };

    std::vector<int> itemIds_;
    std::vector<Entry> entries_;  // in step with itemIds_
    // Made when first asked for, dropped at every change.
    mutable std::string saleKey_;
};

}  // namespace Kramo
