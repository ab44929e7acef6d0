#pragma once

#include <cstdint>
#include <string>

#include "pdf/LabelLayout.h"
#include "pdf/PdfCanvas.h"

namespace Kramo {

// What one item's label shows.
struct ItemLabel {
    std::string sellerCode;
    int32_t number = 0;
    std::string price;  // formatted with its currency
    std::string name;
    std::string barcode;  // the Code 128 content
};

// Draws labels one after another onto sheets of the layout, row by row. The first label goes
// to the position firstFreeLabel (1 = top left) of the first sheet, so that a sheet used in
// part is used up; every further sheet starts at its top left. Each label shows the seller's
// code and the item's number large (what the cashier types when a scan fails), the price, the
// name cut to the label's width, the barcode and the sale name small. Labels are drawn as
// they come, so that a whole sale's labels are never held at once.
class LabelSheets {
  public:
    LabelSheets(PdfCanvas& canvas, const LabelLayout& layout, int firstFreeLabel);

    void Add(const ItemLabel& label);
    int Count() const { return count_; }

  private:
    PdfCanvas& canvas_;
    const LabelLayout& layout_;
    int position_;  // of the next label on the current sheet, from 0
    int sheets_ = 0;
    int count_ = 0;
};

}  // namespace Kramo
