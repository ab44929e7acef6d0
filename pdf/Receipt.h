#pragma once

#include <vector>

#include "core/DataAccessInterface.h"
#include "pdf/PdfWrapperBase.h"

namespace Kramo {

// The receipt of a finished purchase: one page (more for a long purchase) into an open writer,
// the items in purchase order with their sum. Every failure comes out as one std::runtime_error
// starting "PDF error:", "PDF out of range error" or "PDF error(unknown)".
void WriteReceipt(PdfWrapperBase& writer, DataAccessInterface& store,
                  const std::vector<Item>& items);

}  // namespace Kramo
