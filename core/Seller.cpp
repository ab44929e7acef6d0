#include "Seller.h"

#include "support/Clock.h"

namespace Kramo {

Seller::Seller() : MODIFIED(CurrentTimestamp()) {}

bool Seller::operator==(const Seller& other) const {
    return NAME == other.NAME && SHORT_CODE == other.SHORT_CODE && COMMENT == other.COMMENT &&
           SELLER_CATEGORY_ID == other.SELLER_CATEGORY_ID && MODIFIED == other.MODIFIED &&
           ID == other.ID && STATUS == other.STATUS;
}

}  // namespace Kramo
