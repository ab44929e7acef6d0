#pragma once

#include <string>
#include <vector>

namespace Kramo {

// The paper a receipt goes on: the A4 sheet, or the roll of a receipt printer, whose page is as
// long as the purchase needs.
struct ReceiptPage {
    std::string key;                // as kramo.xml names it
    std::string title;              // as the settings offer it, translated where shown
    double rollWidthMm = 0.0;       // 0 for the A4 sheet
    double printableWidthMm = 0.0;  // what the printer's head reaches, centred on the roll
    unsigned int fontPoints = 0;

    bool IsRoll() const { return rollWidthMm > 0.0; }

    // The pages on offer, A4 first.
    static const std::vector<ReceiptPage>& All();
    // The page of that key; A4 for a key that is not on offer.
    static const ReceiptPage& ByKey(const std::string& key);
};

}  // namespace Kramo
