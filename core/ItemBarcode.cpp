#include "ItemBarcode.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace Kramo {
namespace {

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

// The value of a run of digits, or -1 past the largest ID.
int64_t DigitsValue(std::string_view digits) {
    int64_t value = 0;
    for (const char digit : digits) {
        value = value * 10 + (digit - '0');
        if (value > INT32_MAX) {
            return -1;
        }
    }
    return value;
}

std::string ZeroPadded(int32_t value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

}  // namespace

std::string ItemBarcode::Text(const ItemKey& key) {
    if (key.sellerId < 0 || key.number < 0 || key.number > 9999) {
        throw std::invalid_argument("ItemBarcode: no barcode for seller " +
                                    std::to_string(key.sellerId) + ", item " +
                                    std::to_string(key.number));
    }
    return std::string(Prefix) + ZeroPadded(key.sellerId, SellerDigits) +
           ZeroPadded(key.number, NumberDigits);
}

std::optional<ItemKey> ItemBarcode::Parse(std::string_view text) {
    if (text.size() < Prefix.size() + SellerDigits + NumberDigits) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < Prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != Prefix[i]) {
            return std::nullopt;
        }
    }
    const std::string_view digits = text.substr(Prefix.size());
    if (!AllDigits(digits)) {
        return std::nullopt;
    }
    const int64_t sellerId = DigitsValue(digits.substr(0, digits.size() - NumberDigits));
    const int64_t number = DigitsValue(digits.substr(digits.size() - NumberDigits));
    if (sellerId < 0) {
        return std::nullopt;
    }
    return ItemKey{static_cast<int32_t>(sellerId), static_cast<int32_t>(number)};
}

}  // namespace Kramo
