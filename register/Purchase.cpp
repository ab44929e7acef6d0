#include "Purchase.h"

#include <algorithm>

namespace Kramo {

bool Purchase::Contains(int itemId) const {
    return std::find(itemIds_.begin(), itemIds_.end(), itemId) != itemIds_.end();
}

bool Purchase::Add(int itemId) {
    if (Contains(itemId)) {
        return false;
    }
    itemIds_.push_back(itemId);
    return true;
}

void Purchase::RemoveAt(std::size_t position) {
    if (position < itemIds_.size()) {
        itemIds_.erase(itemIds_.begin() + static_cast<std::ptrdiff_t>(position));
    }
}

}  // namespace Kramo
