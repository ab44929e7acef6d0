#pragma once

#include <cstdint>

namespace Kramo {

enum ItemStatus : int32_t {
    Unassigned = 0,
    InStock = 1,
    Sold = 2,
    Returned = 3,
    Gift = 4,
    ToTrace = 5,
    Undefined = 6,  // what an unreadable status letter in a file becomes
};

// States that lists and counters cover: Unassigned .. ToTrace.
constexpr int32_t ItemStatusCount = 6;

// The names as message IDs, untranslated (ItemStatusDisplayName translates).
extern const char* const ItemStatusNames[7];
// One letter per state, the codes of the text files.
extern const char ItemStatusLetters[8];

// The display name of a state in the user's language; "?" for anything outside the listed
// states.
const char* ItemStatusDisplayName(int32_t status);

}  // namespace Kramo
