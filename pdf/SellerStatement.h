#pragma once

#include <string>

#include "core/DataAccessInterface.h"
#include "pdf/PdfWrapperBase.h"

namespace Kramo {

// The statement of one seller after the sale into an open writer: the seller, every item with
// its state, and the settlement with the fee lines and the payout, ending with the line the
// seller signs. The seller and its category are read by the caller, who reports their failure;
// failures while the statement is written pass to the caller.
void WriteSellerStatement(PdfWrapperBase& writer, DataAccessInterface& store, const Seller& seller,
                          const SellerCategory& sellerCategory, const std::string& currencyUnit);

}  // namespace Kramo
