#include "SellerOverview.h"

#include "pdf/SellerStatement.h"

namespace Kramo {

void WriteSellerOverview(PdfWrapperBase& writer, DataAccessInterface& store,
                         const std::vector<int>& sellerIds, const std::string& currencyUnit) {
    for (const int sellerId : sellerIds) {
        const Seller seller = store.GetSeller(sellerId);
        WriteSellerStatement(writer, store, seller,
                             store.GetSellerCategory(seller.SELLER_CATEGORY_ID), currencyUnit);
    }
}

}  // namespace Kramo
