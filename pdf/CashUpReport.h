#pragma once

#include <string>

#include "core/CashUp.h"
#include "pdf/PdfWrapperBase.h"

namespace Kramo {

// The cash-up of one desk's day into an open writer: the sale, the day and the time printed,
// the purchases, their cancellations and the net total, the items sold anyway when there were
// any, and the purchases by hour.
void WriteCashUpReport(PdfWrapperBase& writer, const CashUp& cashUp, const std::string& saleName,
                       const std::string& currencyUnit);

}  // namespace Kramo
