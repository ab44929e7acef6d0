#pragma once

#include <string>
#include <vector>

#include "core/Item.h"
#include "core/ItemCategory.h"
#include "core/SellerCategory.h"
#include "core/SellerSettlement.h"

namespace Kramo {

// The settlement rounding: down to a multiple of 0.05 after adding 0.001, which absorbs the
// representation error of amounts such as 0.3 * 7.
double R(double amount);

// The sold sum, the fee lines and the payout of one seller. Pure computation over the
// seller's items, all item categories (in list order) and the seller's category; the
// currency unit only appears inside the fee texts.
SellerSettlement ComputeSellerFees(const std::vector<Item>& items,
                                   const std::vector<ItemCategory>& itemCategories,
                                   const SellerCategory& sellerCategory,
                                   const std::string& currencyUnit);

// Gives the item the first category whose inclusive price range holds its price, else the
// first category. Answers false and leaves the item alone when there is no category at all.
bool AssignCategoryByPrice(const std::vector<ItemCategory>& itemCategories, Item& item);

}  // namespace Kramo
