#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/RecordedSale.h"
#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"

namespace Kramo {

// The store's sales on record for a cash-up. When they cannot be read (a store that keeps
// none, the database away) that is reported, and nothing comes back.
std::optional<std::vector<RecordedSale>> ReadRecordedSales(KramoRegister& kramoRegister);

// Writes the cash-up of the desk for the day (see ComputeCashUp) into the documents folder as
// "Uzavierka_<desk>_yy-mm-dd_hh-mm.pdf", numbered when that name is taken. A failure while
// writing is reported through HandlePdfExceptions. The path of the written document, or
// nothing when none could be saved.
std::optional<std::string> PrintCashUp(const KramoSettings& settings,
                                       const std::vector<RecordedSale>& sales,
                                       const std::string& desk, const Timestamp& day);

}  // namespace Kramo
