#pragma once

#include <cstdint>
#include <string>

namespace Kramo {

// A class of sellers (ordinary seller, supporter, organiser) with the factors that scale the
// item categories' fees.
struct SellerCategory {
    int32_t ID = -1;
    char CODE = '\0';
    std::string NAME;
    double ParticipationFee = 0.0;  // flat fee once per seller at settlement
    double HandlingFactor = 0.0;
    double HandlingPercentFactor = 0.0;
    double SaleFeeFactor = 0.0;
    double SalePercentFactor = 0.0;
    double ReservedAmountA = 0.0;
    double ReservedAmountB = 0.0;

    bool operator==(const SellerCategory& other) const;
    bool operator!=(const SellerCategory& other) const { return !(*this == other); }
};

}  // namespace Kramo
