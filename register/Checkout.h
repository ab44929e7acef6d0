#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Item.h"
#include "core/ItemCategory.h"
#include "core/Seller.h"
#include "register/KramoRegister.h"
#include "register/Purchase.h"
#include "settings/KramoSettings.h"

namespace Kramo {

// What the checkout shows for an item added to the purchase.
struct PurchaseLine {
    Item item;
    Seller seller;
    ItemCategory category;
};

// The rules of the cash desk: adding items to a purchase, finishing it with a receipt and the
// sale recorded, and the numbers the item dialogs ask for.
class Checkout {
  public:
    Checkout(KramoRegister& kramoRegister, const KramoSettings& settings)
        : kramoRegister_(kramoRegister), settings_(settings) {}

    // Adds the item, read afresh from the store; an item not in stock only when the cashier
    // confirms. Nothing for no item (-1) or one the purchase has already. The line to show,
    // or nothing when nothing was added.
    std::optional<PurchaseLine> AddToPurchase(Purchase& purchase, int itemId);
    // Adds an item the desk has checked already (a scan it accepted, or one the cashier chose
    // to sell anyway), without a question. Nothing when the purchase has it already.
    std::optional<PurchaseLine> AddCheckedItem(Purchase& purchase, const Item& item);

    // Writes the receipt into the documents folder on the paper of the settings (its failure is
    // reported and the sale goes on) and records the sale. A failure of the recording is
    // thrown; then no item of the purchase is left sold and its receipt is removed. The amount
    // received is the exact sum when none is given; an amount below the sum is refused with
    // std::invalid_argument before anything is written. The recorded sale's receipt then goes
    // to the printer as the settings say; a failed print is reported and the sale stays.
    // The items make a sale of their own under a key of its own; those not in stock as
    // handed over are sold knowingly (forced).
    void FinishCheckout(const std::vector<Item>& items,
                        std::optional<double> amountReceived = std::nullopt);
    // Finishes the purchase as FinishCheckout does, its items read afresh, under the
    // purchase's key and with its forced items. Items sold or removed at another desk since
    // they were added are named in a box: the cashier takes them out and the rest is finished,
    // or keeps the purchase as it is. True when the sale is recorded; the purchase is then
    // empty. Other failures are thrown, the purchase and its key kept for another try.
    bool FinishPurchase(Purchase& purchase, std::optional<double> amountReceived = std::nullopt);
    // The purchase's items as the store has them now; one it has no more, as it was added.
    std::vector<Item> CurrentItems(const Purchase& purchase) const;

    // The last purchase this desk finished, until it is taken back or the next one finishes.
    struct FinishedPurchase {
        std::vector<Item> items;  // as they were sold
        SaleRecord sale;          // as it was recorded, for its storno
        std::string receiptPath;
        double total = 0.0;
    };
    const std::optional<FinishedPurchase>& LastPurchase() const { return lastPurchase_; }

    // Takes back the last finished purchase once the cashier confirms (a storno): its items
    // are in stock again, and a note "<receipt>_storno.txt" beside its receipt says so. False
    // when there is none or the cashier declines. A store failure is thrown, and the purchase
    // stays the last one for another try; a note that cannot be written is reported.
    bool CancelLastPurchase();

    static double PurchaseTotal(const std::vector<Item>& items);

    // The number under which the item is stored for its seller: the proposed one when no other
    // item of the seller has it, else (and for -1) one above the seller's largest.
    int NextFreeItemNumber(const Item& item, int proposedNumber) const;

  private:
    DataAccessInterface& Store() const { return kramoRegister_.Store(); }
    struct ReceiptDocument {
        std::string path;  // also when it could not be written
        bool written = false;
    };
    ReceiptDocument WriteReceiptDocument(const std::vector<Item>& items,
                                         std::optional<double> amountReceived) const;
    // Sends the written receipt to the printer of the settings, when they say so.
    void PrintReceipt(const std::string& path) const;
    void FinishSale(const std::vector<Item>& items, std::optional<double> amountReceived,
                    const std::string& key, const std::vector<int>& forcedItemIds);
    // The sale as it was handed to the store.
    SaleRecord RecordSale(const std::vector<Item>& items, const std::string& key,
                          const std::vector<int>& forcedItemIds) const;
    // Each item afresh; one the store has no more goes into gone, and as it was added.
    std::vector<Item> ReadItems(const Purchase& purchase, std::vector<int>& gone) const;
    // The box naming items gone from stock elsewhere: true when the cashier takes them out.
    bool AskToTakeOut(const Purchase& purchase, const std::vector<int>& goneIds) const;
    std::string SellerCode(int sellerId) const;
    void WriteCancellationNote(const FinishedPurchase& purchase) const;

    KramoRegister& kramoRegister_;
    const KramoSettings& settings_;
    std::optional<FinishedPurchase> lastPurchase_;
};

}  // namespace Kramo
