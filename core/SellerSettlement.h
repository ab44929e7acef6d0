#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Kramo {

enum class FeeKind : int32_t {
    Participation = 1,
    Handling = 2,
    Sale = 3,
};

// One line of a seller's fee breakdown as documents print it.
struct FeeLine {
    std::string text;
    double amount = 0.0;  // already rounded, except the participation fee
    FeeKind kind = FeeKind::Handling;
};

// What a seller is paid: the sold sum less every fee line.
struct SellerSettlement {
    std::vector<FeeLine> lines;
    double soldSum = 0.0;
    double payout = 0.0;

    void AddLine(FeeLine line) { lines.push_back(std::move(line)); }
    std::vector<FeeLine> LinesOfKind(FeeKind kind) const;
    double FeeSum() const;
};

}  // namespace Kramo
