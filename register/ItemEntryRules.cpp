#include "ItemEntryRules.h"

#include <climits>
#include <cstdlib>

#include "support/FormatText.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

namespace Kramo {

const char* const ItemEntryRules::NameProposal = N_("Popis predmetu");

// "-" and "." alone pass IsNumberText but are no price.
bool ItemEntryRules::IsPlainNumber(const std::string& text) {
    return IsNumberText(text) && text.find_first_of("0123456789") != std::string::npos;
}

std::optional<std::string> ItemEntryRules::CorrectedName(const std::string& name) {
    if (name.empty()) {
        return std::string(_(NameProposal));
    }
    return std::nullopt;
}

std::optional<std::string> ItemEntryRules::CorrectedPrice(const std::string& price) {
    if (IsPlainNumber(price)) {
        if (PriceOf(price) < 0.0) {
            return std::string(PriceProposal);
        }
        return std::nullopt;
    }
    std::string pointed = price;
    DecimalCommaToPoint(pointed);
    return IsPlainNumber(pointed) ? pointed : std::string(PriceProposal);
}

std::string ItemEntryRules::NumberToStore(const Checkout& checkout, const Item& item,
                                          const std::string& number) {
    int proposed = NumberOf(number);
    if (proposed <= 0) {
        proposed = 1;
    }
    return FormatText("%i", checkout.NextFreeItemNumber(item, proposed));
}

double ItemEntryRules::PriceOf(const std::string& price) {
    return std::strtod(price.c_str(), nullptr);
}

// Leading digits as a number, 0 without any; clamped to the range of a number field.
int ItemEntryRules::NumberOf(const std::string& number) {
    const long value = std::strtol(number.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

}  // namespace Kramo
