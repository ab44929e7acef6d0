#include "SellerStatementDocument.h"

#include <filesystem>

#include "pdf/SellerStatement.h"
#include "register/DocumentNames.h"
#include "register/ExceptionHandlers.h"
#include "register/PdfDocuments.h"
#include "support/Clock.h"

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
    // Codes that differ only in a separator ("A/B", "A_B") give one name: numbered, never
    // replaced.
    const std::string path = FreeFilePath(DocumentsFolder(settings),
                                          StatementFileName(seller.SHORT_CODE, CurrentTimestamp()));
    const bool written = WriteDocument(settings, path, [&](PdfWrapperBase& writer) {
        WriteSellerStatement(writer, store, seller, category, settings.CurrencyUnit());
    });
    // A document the disk did not take is not there to be opened.
    if (!written && !std::filesystem::exists(path)) {
        return std::nullopt;
    }
    return path;
}

}  // namespace Kramo
