#include "SellerCategory.h"

namespace Kramo {

bool SellerCategory::operator==(const SellerCategory& other) const {
    return ID == other.ID && CODE == other.CODE && NAME == other.NAME &&
           ParticipationFee == other.ParticipationFee && HandlingFactor == other.HandlingFactor &&
           HandlingPercentFactor == other.HandlingPercentFactor &&
           SaleFeeFactor == other.SaleFeeFactor && SalePercentFactor == other.SalePercentFactor &&
           ReservedAmountA == other.ReservedAmountA && ReservedAmountB == other.ReservedAmountB;
}

}  // namespace Kramo
