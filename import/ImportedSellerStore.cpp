#include "ImportedSellerStore.h"

#include <stdexcept>

#include "core/SellerFees.h"

namespace KramoExcel {

bool SellerExistsWithCode(Kramo::DataAccessInterface& store, const std::string& code) {
    try {
        store.GetSellerByCode(code);
        return true;
    } catch (const Kramo::WrongSellerException&) {
        return false;
    }
}

int32_t ImportSellerCategory(Kramo::DataAccessInterface& store) {
    const std::vector<Kramo::SellerCategory> categories = store.GetSellerCategories();
    return categories.empty() ? -1 : categories.front().ID;
}

void StoreImportedSeller(Kramo::DataAccessInterface& store, SellerSheetImport& import,
                         int32_t sellerCategoryId,
                         const std::vector<Kramo::ItemCategory>& itemCategories, int32_t status) {
    // Every item must get a category; without any the items could not be settled.
    if (itemCategories.empty()) {
        throw Kramo::WrongItemCategoryException();
    }
    import.seller.SELLER_CATEGORY_ID = sellerCategoryId;
    if (status >= 0) {
        import.seller.STATUS = status;
    }
    for (Kramo::Item& item : import.items) {
        Kramo::AssignCategoryByPrice(itemCategories, item);
    }
    store.AddSellerWithItems(import.seller, import.items);
}

}  // namespace KramoExcel
