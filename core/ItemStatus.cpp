#include "ItemStatus.h"

namespace Kramo {

const char* const ItemStatusNames[7] = {"Nezaradene", "Skladom",  "Predane",     "Vratene",
                                        "Dar",        "Dohladat", "Nedefinovane"};

const char ItemStatusLetters[8] = "ospvdnu";

const char* ItemStatusDisplayName(int32_t status) {
    return (status >= 0 && status < ItemStatusCount) ? ItemStatusNames[status] : "?";
}

}  // namespace Kramo
