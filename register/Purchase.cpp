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

}  // namespace Kramo
