#include "SellerStatus.h"

#include "support/Translation.h"

namespace Kramo {

// The catalogue's message IDs; shown through SellerStatusDisplayName in the user's language.
const char* const SellerStatusNames[SellerStatusCount] = {N_("Zatial nepredava"), N_("Predava"),
                                                          N_("Vydany spat")};

const char* SellerStatusDisplayName(int32_t status) {
    return (status >= 0 && status < SellerStatusCount) ? _(SellerStatusNames[status]) : "?";
}

}  // namespace Kramo
