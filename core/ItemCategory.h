#pragma once

#include <cstdint>
#include <string>

namespace Kramo {

// A class of goods with its price range and fee parameters.
struct ItemCategory {
    int32_t ID = -1;
    char CODE = '\0';  // the letter that stands for the category in text files
    std::string NAME;
    double PriceFrom = 0.0;        // inclusive
    double PriceTo = 10000000.0;   // inclusive
    double HandlingFee = 0.0;      // money per item handed in
    double HandlingPercent = 0.0;  // percent of the price per item handed in
    double SaleFee = 0.0;          // money per item sold
    double SalePercent = 0.0;      // percent of the price per item sold

    bool operator==(const ItemCategory& other) const;
    bool operator!=(const ItemCategory& other) const { return !(*this == other); }
};

}  // namespace Kramo
