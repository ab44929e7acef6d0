#pragma once

#include <cstdint>

namespace Kramo {

enum SellerStatus : int32_t {
    NotSelling = 0,
    Selling = 1,
    HandedBack = 2,
};

constexpr int32_t SellerStatusCount = 3;

// The names as message IDs, untranslated (SellerStatusDisplayName translates).
extern const char* const SellerStatusNames[SellerStatusCount];

// The display name of a state; "?" outside 0..2.
const char* SellerStatusDisplayName(int32_t status);

}  // namespace Kramo
