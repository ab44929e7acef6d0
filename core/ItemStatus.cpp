#include "ItemStatus.h"

#include "support/Translation.h"

namespace Kramo {

// The catalogue's message IDs; shown through ItemStatusDisplayName in the user's language.
const char* const ItemStatusNames[7] = {N_("Nezaradene"),  N_("Skladom"), N_("Predane"),
                                        N_("Vratene"),     N_("Dar"),     N_("Dohladat"),
                                        N_("Nedefinovane")};

const char ItemStatusLetters[8] = "ospvdnu";

const char* ItemStatusDisplayName(int32_t status) {
    return (status >= 0 && status < ItemStatusCount) ? _(ItemStatusNames[status]) : "?";
}

}  // namespace Kramo
