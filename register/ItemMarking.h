#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/DataAccessInterface.h"
#include "register/ItemScan.h"
#include "register/SellerList.h"

namespace Kramo {

// What Enter in the main window's find field does with the item a scan names: only show it,
// or mark it at the hand-in desk before the sale or at the return desk after it.
enum class ScanDesk {
    Find,
    HandIn,
    Return,
};

// How a seller's items are marked by hand: before the sale the goods are handed in (not yet
// assigned -> in stock), after it the unsold ones go back (in stock -> returned); a
// handed-back seller's items are not marked. The "prebrate" box and the re-marking of all
// items go either way, a desk's scan one way only.
class ItemMarking {
  public:
    struct Move {
        int32_t from;
        int32_t to;
    };
    // What the desk's scan did: the item's state afterwards, or why it stays as it was.
    struct Verdict {
        ScanRefusal refusal = ScanRefusal::None;
        int32_t status = Unassigned;
    };
    struct DeskScan {
        ScanOutcome outcome;  // the item as it is now, or why the scan was refused
        Seller seller;        // the item's, when the scan named one
        std::string report;   // the line the desk shows: "AB-17 prebraté", "neznámy tovar"
    };

    // The move of a seller in this state; nothing for a handed-back seller.
    static std::optional<Move> OfSeller(int32_t sellerStatus);
    // The "prebrate" box: the item moved either way; nothing when it stays as it is.
    static std::optional<int32_t> Toggled(int32_t sellerStatus, int32_t itemStatus);
    static Verdict Scanned(ScanDesk desk, int32_t sellerStatus, int32_t itemStatus);

    // Whether Enter on the find field's text is a scan at the desk: not for a blank text nor a
    // seller's code (the seller is shown as it is typed), and when only finding, not for a
    // text that names no item (a seller's name); at a hand-in or return desk anything else is
    // a scan, so that a label read wrong is refused aloud.
    static bool IsScan(ScanDesk desk, const SellerList& sellers, std::string_view text);

    // Finds the item a scan names and marks it on the store as the desk does. Store failures
    // are thrown.
    static DeskScan ScanAtDesk(DataAccessInterface& store, const SellerList& sellers, ScanDesk desk,
                               std::string_view text);

  private:
    static DeskScan ScanOnce(DataAccessInterface& store, const SellerList& sellers, ScanDesk desk,
                             std::string_view text);
};

}  // namespace Kramo
