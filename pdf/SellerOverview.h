#pragma once

#include <string>
#include <vector>

#include "core/DataAccessInterface.h"
#include "pdf/PdfWrapperBase.h"

namespace Kramo {

// The statements of the sellers, one after another in the given order, into an open writer;
// each seller and its category are read fresh. Any failure passes to the caller.
void WriteSellerOverview(PdfWrapperBase& writer, DataAccessInterface& store,
                         const std::vector<int>& sellerIds, const std::string& currencyUnit);

}  // namespace Kramo
