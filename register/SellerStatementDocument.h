#pragma once

#include <optional>
#include <string>

#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"

namespace Kramo {

// Writes the statement of a seller after the sale into the documents folder as
// "PoPredaji_<code>_yy-mm-dd_hh-mm.pdf" (see StatementFileName), numbered "_2", "_3", ... when
// that name is taken, so that no statement replaces another. A failure while writing is reported
// through HandlePdfExceptions and the path still comes back (the document holds what was written),
// unless the document could not be saved at all.
// When the seller or its category cannot be read, that is reported through HandleException
// and no document is made: a settlement without the seller's fee factors would be wrong.
std::optional<std::string> PrintSellerStatement(KramoRegister& kramoRegister,
                                                const KramoSettings& settings, int sellerId);

}  // namespace Kramo
