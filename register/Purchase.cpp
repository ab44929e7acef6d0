#include "Purchase.h"

#include <algorithm>
#include <stdexcept>

#include "support/UniqueKey.h"

namespace Kramo {

bool Purchase::Contains(int itemId) const {
    return std::find(itemIds_.begin(), itemIds_.end(), itemId) != itemIds_.end();
}

bool Purchase::Add(const Item& item, bool forced) {
    if (Contains(item.ID)) {
        return false;
    }
    itemIds_.push_back(item.ID);
    entries_.push_back({item, forced});
    saleKey_.clear();
    return true;
}

void Purchase::RemoveAt(std::size_t position) {
    if (position < itemIds_.size()) {
        const auto offset = static_cast<std::ptrdiff_t>(position);
        itemIds_.erase(itemIds_.begin() + offset);
        entries_.erase(entries_.begin() + offset);
        saleKey_.clear();
    }
}

void Purchase::Remove(const std::vector<int>& itemIds) {
    for (const int itemId : itemIds) {
        const auto found = std::find(itemIds_.begin(), itemIds_.end(), itemId);
        if (found != itemIds_.end()) {
            RemoveAt(static_cast<std::size_t>(found - itemIds_.begin()));
        }
    }
}

void Purchase::Clear() {
    itemIds_.clear();
    entries_.clear();
    saleKey_.clear();
}

std::vector<int> Purchase::ForcedItemIds() const {
    std::vector<int> forced;
    for (std::size_t i = 0; i < itemIds_.size(); ++i) {
        if (entries_[i].forced) {
            forced.push_back(itemIds_[i]);
        }
    }
    return forced;
}

const Item& Purchase::AddedItem(int itemId) const {
    const auto found = std::find(itemIds_.begin(), itemIds_.end(), itemId);
    if (found == itemIds_.end()) {
        throw std::out_of_range("Purchase::AddedItem: item not in the purchase");
    }
    return entries_[static_cast<std::size_t>(found - itemIds_.begin())].added;
}

const std::string& Purchase::SaleKey() const {
    if (saleKey_.empty()) {
        saleKey_ = NewUniqueKey();
    }
    return saleKey_;
}

}  // namespace Kramo
