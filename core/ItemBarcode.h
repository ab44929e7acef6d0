#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Kramo {

// Which item a label's barcode names: the seller's ID and the item's number. Both persist on
// every store and at every desk, unlike item IDs (handed out anew at each start of the text
// store) or seller codes (any letters, changed by the organiser).
struct ItemKey {
    int32_t sellerId = -1;
    int32_t number = -1;

    bool operator==(const ItemKey& other) const {
        return sellerId == other.sellerId && number == other.number;
    }
};

// The text of an item's barcode: "KR", the seller's ID in six digits or more and the item's
// number in four, e.g. "KR0000120017" for item 17 of seller 12. Digits only after the prefix,
// so that Code 128 packs them two to a bar pattern and a short label still takes the symbol.
class ItemBarcode {
  public:
    static constexpr std::string_view Prefix = "KR";

    // Throws std::invalid_argument for a negative ID or a number outside 0 to 9999.
    static std::string Text(const ItemKey& key);
    // The item a scanned text names; nothing for any other text. Letter case of the prefix
    // does not matter (a scanner behind Caps Lock types it in lower case).
    static std::optional<ItemKey> Parse(std::string_view text);

  private:
    static constexpr std::size_t SellerDigits = 6;
    static constexpr std::size_t NumberDigits = 4;
};

}  // namespace Kramo
