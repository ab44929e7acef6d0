#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/ItemLabels.h"
#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"

namespace Kramo {

// Items that are still to go on a sale table get labels: not yet handed in, handed in, or
// being looked for. Sold, returned and given away items do not.
bool ItemNeedsLabel(const Item& item);

// Adds the labels of the seller's items that need one, by number.
void AddSellerLabels(LabelSheets& sheets, DataAccessInterface& store, const Seller& seller,
                     const std::string& currencyUnit);

// Writes the labels of the sellers' items onto the label sheet of the settings, seller by
// seller, into the documents folder as "Stitky_<code>_yy-mm-dd_hh-mm.pdf" (one seller) or
// "Stitky_yy-mm-dd_hh-mm.pdf". Nothing when the store cannot be read, the document could not
// be saved, or no item needs a label (each reported).
std::optional<std::string> PrintItemLabels(KramoRegister& kramoRegister,
                                           const KramoSettings& settings,
                                           const std::vector<Seller>& sellers);

}  // namespace Kramo
