#pragma once

#include "core/DataAccessInterface.h"
#include "pdf/PdfWrapperBase.h"
#include "settings/KramoSettings.h"

namespace Kramo {

// The organiser's summary into an open writer: every seller grouped by state with the sold
// sum and the fees earned, then the statistics over all sellers and items. Everything is read
// fresh from the store. When the sellers or the seller categories cannot be read, that is
// reported and the summary goes on without them. A seller whose category or items cannot be
// read keeps its row without amounts, and its fees (or, without its items, also its items) are
// missing from the statistics; such sellers are named in one error box at the end. Later
// failures pass to the caller.
void WriteSellersSummary(PdfWrapperBase& writer, DataAccessInterface& store,
                         const KramoSettings& settings);

}  // namespace Kramo
