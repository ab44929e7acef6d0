#include "SaleRecord.h"

#include <algorithm>

namespace Kramo {

bool SaleRecord::IsForced(int itemId) const {
    return std::find(forcedItemIds.begin(), forcedItemIds.end(), itemId) != forcedItemIds.end();
}

}  // namespace Kramo
