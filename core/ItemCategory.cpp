#include "ItemCategory.h"

namespace Kramo {

bool ItemCategory::operator==(const ItemCategory& other) const {
    return ID == other.ID && CODE == other.CODE && NAME == other.NAME &&
           PriceFrom == other.PriceFrom && PriceTo == other.PriceTo &&
           HandlingFee == other.HandlingFee && HandlingPercent == other.HandlingPercent &&
           SaleFee == other.SaleFee && SalePercent == other.SalePercent;
}

}  // namespace Kramo
