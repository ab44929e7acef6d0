#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/DataAccessInterface.h"
#include "core/ItemBarcode.h"
#include "register/Purchase.h"
#include "register/SellerList.h"

namespace Kramo {

// What one entry of the cash desk's scan field names: a label's barcode, or a seller's code
// and an item's number typed by hand ("AB17", "ab 17", "AB-17", "AB/17").
struct ScanQuery {
    std::optional<ItemKey> barcode;
    std::string sellerCode;
    int number = -1;
};

// Why an item does not go into the purchase at once, or is not marked at a desk. At the
// checkout the states of the item can be overruled by the cashier; an unknown seller or item
// and a second scan of one item cannot.
enum class ScanRefusal {
    None,
    UnknownSeller,
    UnknownItem,
    AmbiguousCode,  // typed without a separator, the digits fit two sellers' codes
    AlreadyInPurchase,
    Sold,
    NotAccepted,
    Returned,
    GivenAway,
    ToTrace,
    UnknownState,
    // Only the hand-in and the return desks of the main window refuse for these.
    AlreadyAccepted,
    AlreadyReturned,
    SellerNotSelling,
    SellerSelling,
    SellerHandedBack,
};

struct ScanOutcome {
    ScanRefusal refusal = ScanRefusal::None;
    std::optional<Item> item;  // also for a refusal by the item's state

    // The cashier may sell the item anyway, in a deliberate second step.
    bool CanBeOverruled() const;
};

// Finds the item of a scan and says whether the purchase takes it.
class ItemScan {
  public:
    // The queries a text may mean: one for a barcode or a code and number with a separator,
    // one per split of the trailing digits (at most four) for a code typed right before its
    // number; none for a text that names no item at all. A barcode typed by a scanner under a
    // Slovak or Czech keyboard layout (the digits on the accented keys) is read like the same
    // barcode under an English one.
    static std::vector<ScanQuery> Parse(std::string_view text);

    // The item and the verdict for it. A typed code is looked up in the seller list without
    // regard to letter case, and refused when two of its readings name sellers; a barcode is
    // looked up by the seller's ID. Store failures are thrown.
    static ScanOutcome Find(DataAccessInterface& store, const SellerList& sellers,
                            const Purchase& purchase, std::string_view text);

    // Why an item in this state is not sold at once; none for an item in stock.
    static ScanRefusal RefusalOfState(int32_t status);

    // The words the price label shows in red for the refusal; empty for none.
    static const char* RefusalText(ScanRefusal refusal);
};

}  // namespace Kramo
