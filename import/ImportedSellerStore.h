#pragma once

#include <string>

#include "core/DataAccessInterface.h"
#include "import/SellerSheetImport.h"

namespace KramoExcel {

// Whether the store holds a seller with exactly this code.
bool SellerExistsWithCode(Kramo::DataAccessInterface& store, const std::string& code);

// Puts a loaded import into the store: the seller with the given category, then every item
// with the category its price chooses. The seller's state is the import's own unless a state
// is given.
void StoreImportedSeller(Kramo::DataAccessInterface& store, SellerSheetImport& import,
                         int32_t sellerCategoryId,
                         const std::vector<Kramo::ItemCategory>& itemCategories,
                         int32_t status = -1);

// The seller category of imported sellers: the store's first, or -1.
int32_t ImportSellerCategory(Kramo::DataAccessInterface& store);

}  // namespace KramoExcel
