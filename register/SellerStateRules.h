#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Item.h"

namespace Kramo {

// When a seller may move from one state to another: the seller's items must all be in the
// states the move allows, and some moves note who took the goods over.
class SellerStateRules {
  public:
    struct Decision {
        bool refused = false;    // a move that is never made
        int badItems = 0;        // items outside the allowed states
        std::string badMessage;  // the message filled with badItems, when there are any
        std::string personRole;  // "Prijal" or "Vydal" when the move asks who took the goods
    };

    static Decision Check(int32_t from, int32_t to, const std::vector<Item>& items);

    // The seller's note with " Prijal:Name" (or the role given) appended.
    static std::string NoteWithPerson(const std::string& note, const std::string& role,
                                      const std::string& person);
};

}  // namespace Kramo
