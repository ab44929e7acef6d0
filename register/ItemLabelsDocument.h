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

// The labels of the sellers' items that need one, seller by seller in the given order and
// each seller's items by number.
std::vector<ItemLabel> ItemLabelsOf(DataAccessInterface& store, const std::vector<Seller>& sellers,
                                    const std::string& currencyUnit);

// Writes the labels of the sellers' items onto the label sheet of the settings, into the
// documents folder as "Stitky_<code>_yy-mm-dd_hh-mm.pdf" (one seller) or
// "Stitky_yy-mm-dd_hh-mm.pdf". Nothing when the store cannot be read, the document could not
// be saved, or no item needs a label (each reported).
std::optional<std::string> PrintItemLabels(KramoRegister& kramoRegister,
                                           const KramoSettings& settings,
                                           const std::vector<int>& sellerIds);

}  // namespace Kramo
