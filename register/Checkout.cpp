#include "Checkout.h"

#include <algorithm>
#include <cstdio>

#include "pdf/Receipt.h"
#include "register/DocumentNames.h"
#include "register/PdfDocuments.h"
#include "support/Log.h"
#include "support/UserMessages.h"

namespace Kramo {

std::optional<PurchaseLine> Checkout::AddToPurchase(Purchase& purchase, int itemId) {
    if (itemId == -1 || purchase.Contains(itemId)) {
        return std::nullopt;
    }
    PurchaseLine line;
    line.item = Store().GetItem(itemId);
    if (line.item.STATUS != InStock &&
        !AskQuestion("Tento tovar nieje označený že je na sklade", "Chcete ho naozaj predať?")) {
        return std::nullopt;
    }
    line.category = Store().GetItemCategory(line.item.ITEM_CATEGORY_ID);
    line.seller = Store().GetSeller(line.item.SELLER_ID);
    purchase.Add(itemId);
    return line;
}

void Checkout::FinishCheckout(const std::vector<Item>& items) {
    const std::string receipt = WriteReceiptDocument(items);
    try {
        RecordSale(items);
    } catch (...) {
        // A receipt stands for a recorded sale. The purchase stays at the desk for another
        // try, which writes a receipt of its own.
        if (std::remove(receipt.c_str()) == 0) {
            LogMessage(LogNotice, "FinishCheckout: sale not recorded, receipt '%s' removed\n",
                       receipt.c_str());
        }
        throw;
    }
}

std::string Checkout::WriteReceiptDocument(const std::vector<Item>& items) const {
    // Two purchases in one minute get two receipts: the later one takes the next free name.
    const std::string path =
        FreeFilePath(DocumentsFolder(settings_), TimeStampedFileName("Predaj", "pdf"));
    WriteDocument(settings_, path,
                  [this, &items](PdfWrapperBase& writer) { WriteReceipt(writer, Store(), items); });
    return path;
}

void Checkout::RecordSale(const std::vector<Item>& items) const {
    std::vector<int> itemIds;
    itemIds.reserve(items.size());
    for (const Item& item : items) {
        itemIds.push_back(item.ID);
    }
    try {
        Store().StoreSale(itemIds, "Sale");
        return;
    } catch (const NotImplementedException&) {
        // The text-file stores keep no sale records: the items are marked sold in their files.
    }
    Store().SetItemsStatus(itemIds, Sold);
    LogMessage(LogInfo, "FinishCheckout: store records no sales, %i items marked sold\n",
               static_cast<int>(itemIds.size()));
}

double Checkout::PurchaseTotal(const std::vector<Item>& items) {
    double total = 0.0;
    for (const Item& item : items) {
        total += item.PRICE;
    }
    return total;
}

int Checkout::NextFreeItemNumber(const Item& item, int proposedNumber) const {
    int largest = 0;
    bool taken = false;
    for (const Item& other : Store().GetSellerItems(item.SELLER_ID)) {
        largest = std::max(largest, other.NUMBER);
        taken = taken || (other.NUMBER == proposedNumber && other.ID != item.ID);
    }
    return proposedNumber == -1 || taken ? largest + 1 : proposedNumber;
}

}  // namespace Kramo
