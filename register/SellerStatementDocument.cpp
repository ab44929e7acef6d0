#include "SellerStatementDocument.h"

#include "pdf/SellerStatement.h"
#include "register/DocumentNames.h"
#include "register/ExceptionHandlers.h"
#include "register/PdfDocuments.h"

namespace Kramo {

std::optional<std::string> PrintSellerStatement(KramoRegister& kramoRegister,
                                                const KramoSettings& settings, int sellerId) {
    DataAccessInterface& store = kramoRegister.Store();
    Seller seller;
    SellerCategory category;
    try {
        seller = store.GetSeller(sellerId);
        category = store.GetSellerCategory(seller.SELLER_CATEGORY_ID);
    } catch (const std::exception& failure) {
        HandleException(failure);
        return std::nullopt;
    }
    const std::string path =
        DocumentsFolder(settings) +
        TimeStampedFileName("PoPredaji_" + FileNamePart(seller.SHORT_CODE), "pdf");
    WriteDocument(settings, path, [&](PdfWrapperBase& writer) {
        WriteSellerStatement(writer, store, seller, category, settings.CurrencyUnit());
    });
    return path;
}

}  // namespace Kramo
