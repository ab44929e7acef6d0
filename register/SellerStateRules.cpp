#include "SellerStateRules.h"

#include <algorithm>
#include <array>

#include "core/SellerStatus.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

struct Move {
    int32_t from;
    int32_t to;
    int32_t lowestAllowed;
    int32_t highestAllowed;
    const char* message;
    const char* role;  // empty: nobody is asked; stored in the seller's note, so never translated
};

// Moves between NotSelling and HandedBack are missing on purpose: they are refused.
constexpr std::array<Move, 4> Moves = {{
    {NotSelling, Selling, InStock, ToTrace, N_("%i kus(ov) tovaru nieje prebratých."), "Prijal"},
    {Selling, NotSelling, Unassigned, InStock, N_("%i kus(ov) tovaru už nieje prijatých."), ""},
    {Selling, HandedBack, Sold, ToTrace,
     N_("%i kus(ov) tovaru nieje predaných/vrátených/stratených/darovaných."), "Vydal"},
    {HandedBack, Selling, Returned, ToTrace,
     N_("%i kus(ov) tovaru nieje vrátených/stratených/darovaných."), "Prijal"},
}};

}  // namespace

SellerStateRules::Decision SellerStateRules::Check(int32_t from, int32_t to,
                                                   const std::vector<Item>& items) {
    Decision decision;
    const auto move = std::find_if(Moves.begin(), Moves.end(), [from, to](const Move& candidate) {
        return candidate.from == from && candidate.to == to;
    });
    if (move == Moves.end()) {
        decision.refused = true;
        return decision;
    }
    decision.badItems =
        static_cast<int>(std::count_if(items.begin(), items.end(), [&](const Item& item) {
            return item.STATUS < move->lowestAllowed || item.STATUS > move->highestAllowed;
        }));
    if (decision.badItems > 0) {
        decision.badMessage = FormatText(_(move->message), decision.badItems);
    }
    decision.personRole = move->role;
    return decision;
}

std::string SellerStateRules::NoteWithPerson(const std::string& note, const std::string& role,
                                             const std::string& person) {
    return note + " " + role + ":" + person;
}

}  // namespace Kramo
