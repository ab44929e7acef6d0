#pragma once

#include <optional>
#include <string>

#include "core/Item.h"
#include "register/Checkout.h"

namespace Kramo {

// What the item dialog puts in place of wrong input: each correction is shown to the user,
// who confirms again.
class ItemEntryRules {
  public:
    static const char* const NameProposal;  // in the catalogue; translated where proposed
    static constexpr const char* PriceProposal = "1.0";

    // The proposal for an empty name; nothing for any other.
    static std::optional<std::string> CorrectedName(const std::string& name);
    // A negative price or one that is no plain number becomes "1.0"; a decimal comma becomes
    // a point. Nothing when the price is fine as it is (0 included).
    static std::optional<std::string> CorrectedPrice(const std::string& price);
    // The number the item gets: the typed one (1 for nothing sensible) unless another item of
    // its seller has it, else the next free one; as text.
    static std::string NumberToStore(const Checkout& checkout, const Item& item,
                                     const std::string& number);

    // The values the dialog stores once nothing needs correcting.
    static double PriceOf(const std::string& price);
    static int NumberOf(const std::string& number);

  private:
    static bool IsPlainNumber(const std::string& text);
};

}  // namespace Kramo
