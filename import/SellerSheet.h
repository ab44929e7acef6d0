#pragma once

#include <string>
#include <vector>

#include "core/Item.h"
#include "core/Seller.h"
#include "import/ExcelFileWrapper.h"

namespace KramoExcel {

// Loads a seller sheet through the wrapper and reads the seller and its items (appended to
// the caller's list). Throws std::runtime_error whose text names the file and the reason.
// Returns how many rows of the item table were skipped for an empty name (or a formula in its
// cell) although they had a price.
int ReadSellerSheet(ExcelFileWrapper& wrapper, const std::string& path, Kramo::Seller& seller,
                    std::vector<Kramo::Item>& items);

// What stands between the path and the reason in that text, in the user's language.
const char* SellerSheetBecause();

}  // namespace KramoExcel
