#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/LabelLayout.h"
#include "pdf/PdfWrapperBase.h"

namespace Kramo {

// What one item's label shows.
struct ItemLabel {
    std::string sellerCode;
    int32_t number = 0;
    std::string price;  // formatted with its currency
    std::string name;
    std::string barcode;  // the Code 128 content
};

// Draws the labels onto sheets of the layout, row by row. The first label goes to the
// position firstFreeLabel (1 = top left) of the first sheet, so that a sheet used in part
// is used up; every further sheet starts at its top left. Each label shows the seller's
// code and the item's number large (what the cashier types when a scan fails), the price,
// the name cut to the label's width, the barcode and the sale name small.
void WriteItemLabels(PdfWrapperBase& writer, const LabelLayout& layout, int firstFreeLabel,
                     const std::vector<ItemLabel>& labels);

}  // namespace Kramo
