#pragma once

#include <optional>
#include <vector>

#include "core/DataAccessInterface.h"
#include "pdf/PdfWrapperBase.h"
#include "pdf/ReceiptPage.h"

namespace Kramo {

// The receipt of a finished purchase into an open writer: the items in purchase order with
// their sum, the amount received (the exact sum when none is given) and the change. On A4 one
// page (more for a long purchase) with the page decoration; on a roll one page as long as its
// lines, each cut to the roll's printable width. Every failure comes out as one
// std::runtime_error starting "PDF error:", "PDF out of range error" or "PDF error(unknown)".
void WriteReceipt(PdfWrapperBase& writer, DataAccessInterface& store,
                  const std::vector<Item>& items,
                  std::optional<double> amountReceived = std::nullopt,
                  const ReceiptPage& page = ReceiptPage::All().front());

}  // namespace Kramo
