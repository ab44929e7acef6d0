#include "SellerStatus.h"

namespace Kramo {

const char* const SellerStatusNames[SellerStatusCount] = {"Zatial nepredava", "Predava",
                                                          "Vydany spat"};

const char* SellerStatusDisplayName(int32_t status) {
    return (status >= 0 && status < SellerStatusCount) ? SellerStatusNames[status] : "?";
}

}  // namespace Kramo
