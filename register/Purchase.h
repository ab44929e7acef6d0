#pragma once

#include <cstddef>
#include <vector>

namespace Kramo {

// The items of the purchase at the checkout, by ID in the order they were added; each at most
// once.
class Purchase {
  public:
    bool Contains(int itemId) const;
    // False, and nothing changes, when the item is in the purchase already.
    bool Add(int itemId);
    // Removes the item at a position of the purchase; nothing for a position beyond it.
    void RemoveAt(std::size_t position);
    void Clear() { itemIds_.clear(); }

    const std::vector<int>& ItemIds() const { return itemIds_; }

  private:
    std::vector<int> itemIds_;
};

}  // namespace Kramo
