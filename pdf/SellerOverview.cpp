#include "SellerOverview.h"

#include "pdf/SellerStatement.h"
#include "pdf/SkippedSellers.h"

namespace Kramo {

void WriteSellerOverview(PdfWrapperBase& writer, DataAccessInterface& store,
                         const std::vector<int>& sellerIds, const std::string& currencyUnit) {
    SkippedSellers skipped;
    for (const int sellerId : sellerIds) {
        Seller seller;
        try {
            seller = store.GetSeller(sellerId);
            const SellerCategory category = store.GetSellerCategory(seller.SELLER_CATEGORY_ID);
            WriteSellerStatement(writer, store, seller, category, currencyUnit);
        } catch (const std::exception& failure) {
            skipped.Note(sellerId, seller.SHORT_CODE, failure);
        }
    }
    skipped.Report();
}

}  // namespace Kramo
