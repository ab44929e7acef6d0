#include "SellerSettlement.h"

#include <algorithm>
#include <iterator>

namespace Kramo {

std::vector<FeeLine> SellerSettlement::LinesOfKind(FeeKind kind) const {
    std::vector<FeeLine> selected;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(selected),
                 [kind](const FeeLine& line) { return line.kind == kind; });
    return selected;
}

double SellerSettlement::FeeSum() const {
    double sum = 0.0;
    for (const FeeLine& line : lines)
        sum += line.amount;
    return sum;
}

}  // namespace Kramo
