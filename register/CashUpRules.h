#pragma once

#include <string>
#include <vector>

#include "core/CashUp.h"
#include "core/RecordedSale.h"

namespace Kramo {

// The cash-up of the desk for the day (its year, month and day) from the sales on record:
// other desks and days are left out, a cancelled purchase counts on the day it was made.
CashUp ComputeCashUp(const std::vector<RecordedSale>& sales, const std::string& desk,
                     const Timestamp& day);

// The desks named in the sales, to choose one for a cash-up: this desk first (also without a
// sale of its own), then the others by name.
std::vector<std::string> DesksOnRecord(const std::vector<RecordedSale>& sales,
                                       const std::string& thisDesk);

}  // namespace Kramo
