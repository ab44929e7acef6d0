#pragma once

#include <string>
#include <vector>

#include "core/DataAccessInterface.h"
#include "pdf/PdfWrapperBase.h"

namespace Kramo {

// The statements of the sellers, one after another in the given order, into an open writer;
// each seller and its category are read fresh. A seller that cannot be read, or whose statement
// fails half-way, is left out or stays incomplete: the others are written all the same, and the
// broken ones are logged and named in one error box at the end.
void WriteSellerOverview(PdfWrapperBase& writer, DataAccessInterface& store,
                         const std::vector<int>& sellerIds, const std::string& currencyUnit);

}  // namespace Kramo
