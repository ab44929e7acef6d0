#include "Checkout.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "pdf/Receipt.h"
#include "register/DocumentNames.h"
#include "register/ExceptionHandlers.h"
#include "register/PdfDocuments.h"
#include "register/ReceiptPrinter.h"
#include "support/Clock.h"
#include "support/FileHelpers.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "support/UniqueKey.h"
#include "support/UserMessages.h"

namespace Kramo {

std::optional<PurchaseLine> Checkout::AddToPurchase(Purchase& purchase, int itemId) {
    if (itemId == -1 || purchase.Contains(itemId)) {
        return std::nullopt;
    }
    const Item item = Store().GetItem(itemId);
    if (item.STATUS != InStock && !AskQuestion(_("Tento tovar nieje označený že je na sklade"),
                                               _("Chcete ho naozaj predať?"))) {
        return std::nullopt;
    }
    return AddCheckedItem(purchase, item);
}

std::optional<PurchaseLine> Checkout::AddCheckedItem(Purchase& purchase, const Item& item) {
    if (purchase.Contains(item.ID)) {
        return std::nullopt;
    }
    PurchaseLine line;
    line.item = item;
    line.category = Store().GetItemCategory(item.ITEM_CATEGORY_ID);
    line.seller = Store().GetSeller(item.SELLER_ID);
    // Only an item in stock now can be taken by another desk before this one finishes; the
    // others the cashier sells knowingly.
    purchase.Add(item, item.STATUS != InStock);
    return line;
}

void Checkout::FinishCheckout(const std::vector<Item>& items,
                              std::optional<double> amountReceived) {
    // Items the caller hands over although not in stock are sold knowingly.
    std::vector<int> forcedItemIds;
    for (const Item& item : items) {
        if (item.STATUS != InStock) {
            forcedItemIds.push_back(item.ID);
        }
    }
    FinishSale(items, amountReceived, NewUniqueKey(), forcedItemIds);
}

bool Checkout::FinishPurchase(Purchase& purchase, std::optional<double> amountReceived) {
    while (!purchase.ItemIds().empty()) {
        std::vector<int> gone;
        const std::vector<Item> items = ReadItems(purchase, gone);
        if (gone.empty()) {
            try {
                FinishSale(items, amountReceived, purchase.SaleKey(), purchase.ForcedItemIds());
                purchase.Clear();
                return true;
            } catch (const ItemsNotInStockException& refusal) {
                for (const int itemId : refusal.ItemIds()) {
                    if (purchase.Contains(itemId)) {
                        gone.push_back(itemId);
                    }
                }
                if (gone.empty()) {
                    throw;  // nothing the cashier could take out
                }
            }
        }
        if (!AskToTakeOut(purchase, gone)) {
            return false;
        }
        purchase.Remove(gone);
        LogMessage(LogInfo, "FinishCheckout: %i items gone at another desk taken out\n",
                   static_cast<int>(gone.size()));
    }
    return false;
}

std::vector<Item> Checkout::CurrentItems(const Purchase& purchase) const {
    std::vector<int> gone;
    return ReadItems(purchase, gone);
}

std::vector<Item> Checkout::ReadItems(const Purchase& purchase, std::vector<int>& gone) const {
    std::vector<Item> items;
    items.reserve(purchase.ItemIds().size());
    for (const int itemId : purchase.ItemIds()) {
        try {
            items.push_back(Store().GetItem(itemId));
        } catch (const WrongItemException&) {
            gone.push_back(itemId);
            items.push_back(purchase.AddedItem(itemId));
        }
    }
    return items;
}

bool Checkout::AskToTakeOut(const Purchase& purchase, const std::vector<int>& goneIds) const {
    std::string lines;
    for (const int itemId : goneIds) {
        const Item& item = purchase.AddedItem(itemId);
        lines +=
            FormatText("\n%s-%i  %s  %0.2f %s", SellerCode(item.SELLER_ID).c_str(), item.NUMBER,
                       item.NAME.c_str(), item.PRICE, settings_.CurrencyUnit().c_str());
    }
    const bool restLeft = goneIds.size() < purchase.ItemIds().size();
    const char* question = nullptr;
    if (goneIds.size() == 1) {
        question =
            restLeft ? _("Odstrániť ho z nákupu a predať zvyšok?") : _("Odstrániť ho z nákupu?");
    } else {
        question =
            restLeft ? _("Odstrániť ich z nákupu a predať zvyšok?") : _("Odstrániť ich z nákupu?");
    }
    return AskQuestion(_("Na inej pokladni sa medzitým predal alebo odstránil tento tovar:") +
                           lines + "\n\n" + question,
                       _("Tovar už nie je na sklade"));
}

std::string Checkout::SellerCode(int sellerId) const {
    try {
        return Store().GetSeller(sellerId).SHORT_CODE;
    } catch (const WrongSellerException&) {
        return "?";
    }
}

void Checkout::FinishSale(const std::vector<Item>& items, std::optional<double> amountReceived,
                          const std::string& key, const std::vector<int>& forcedItemIds) {
    const double total = PurchaseTotal(items);
    // Half a cent of leeway for the sum of prices in binary fractions.
    if (amountReceived && *amountReceived < total - 0.005) {
        throw std::invalid_argument(FormatText(
            _("Prijatá suma %0.2f je menšia ako suma nákupu %0.2f."), *amountReceived, total));
    }
    const ReceiptDocument receipt = WriteReceiptDocument(items, amountReceived);
    SaleRecord sale;
    try {
        sale = RecordSale(items, key, forcedItemIds);
    } catch (...) {
        // A receipt stands for a recorded sale. The purchase stays at the desk for another
        // try, which writes a receipt of its own.
        if (std::remove(receipt.path.c_str()) == 0) {
            LogMessage(LogNotice, "FinishCheckout: sale not recorded, receipt '%s' removed\n",
                       receipt.path.c_str());
        }
        throw;
    }
    lastPurchase_ = FinishedPurchase{items, sale, receipt.path, total};
    if (receipt.written) {
        PrintReceipt(receipt.path);
    }
}

bool Checkout::CancelLastPurchase() {
    if (!lastPurchase_ ||
        !AskQuestion(FormatText(_("Stornovať posledný nákup (%i ks, %0.2f %s)?"),
                                static_cast<int>(lastPurchase_->items.size()), lastPurchase_->total,
                                settings_.CurrencyUnit().c_str()),
                     _("Tovar z nákupu bude znova na sklade."))) {
        return false;
    }
    Store().CancelSale(lastPurchase_->sale);
    LogMessage(LogInfo, "Storno: purchase of receipt '%s' taken back, %i items in stock again\n",
               lastPurchase_->receiptPath.c_str(),
               static_cast<int>(lastPurchase_->sale.itemIds.size()));
    WriteCancellationNote(*lastPurchase_);
    lastPurchase_.reset();
    return true;
}

// A plain note beside the receipt, so that whoever checks the receipts against the cash sees
// which of them was taken back, and when.
void Checkout::WriteCancellationNote(const FinishedPurchase& purchase) const {
    const std::string stem = purchase.receiptPath.substr(0, purchase.receiptPath.rfind(".pdf"));
    const Timestamp now = CurrentTimestamp();
    std::string note =
        FormatText(_("Storno nákupu\nÚčet: %s\nStornované: %04i-%02i-%02i %02i:%02i\n\n"),
                   purchase.receiptPath.substr(purchase.receiptPath.rfind('/') + 1).c_str(),
                   now.Year, now.Month, now.Day, now.Hour, now.Minute);
    for (const Item& item : purchase.items) {
        note += FormatText("%s-%i  %s  %0.2f\n", SellerCode(item.SELLER_ID).c_str(), item.NUMBER,
                           item.NAME.c_str(), item.PRICE);
    }
    note += FormatText(_("\nSuma: %0.2f %s\n"), purchase.total, settings_.CurrencyUnit().c_str());
    const std::string path = stem + "_storno.txt";
    if (ReplaceFileContents(path, path, note) != Replacement::Done) {
        HandleException(std::runtime_error(_("Záznam o storne sa nedá zapísať: ") + path));
    }
}

Checkout::ReceiptDocument Checkout::WriteReceiptDocument(
    const std::vector<Item>& items, std::optional<double> amountReceived) const {
    // Two purchases in one minute get two receipts: the later one takes the next free name.
    ReceiptDocument receipt;
    receipt.path = FreeFilePath(DocumentsFolder(settings_), TimeStampedFileName("Predaj", "pdf"));
    const ReceiptPage& page = ReceiptPage::ByKey(settings_.ReceiptPage());
    receipt.written = WriteDocument(settings_, receipt.path, [&](PdfWrapperBase& writer) {
        WriteReceipt(writer, Store(), items, amountReceived, page);
    });
    return receipt;
}

void Checkout::PrintReceipt(const std::string& path) const {
    const ReceiptPrinter printer(settings_.ReceiptPrinterName());
    const ReceiptPrinting printing = settings_.PrintReceipts();
    if (printing == ReceiptPrinting::Off ||
        (printing == ReceiptPrinting::Ask &&
         !AskQuestion(FormatText(_("Vytlačiť účet %s?"), printer.OnPrinter().c_str()),
                      _("Tlač účtu")))) {
        return;
    }
    // The printer's queue names the job by the sale and the receipt's file.
    const std::string title =
        settings_.SaleName() + " " + std::filesystem::path(path).stem().string();
    try {
        printer.Print(path, title);
    } catch (const std::exception& failure) {
        HandleException(failure);
    }
}

SaleRecord Checkout::RecordSale(const std::vector<Item>& items, const std::string& key,
                                const std::vector<int>& forcedItemIds) const {
    std::vector<int> itemIds;
    itemIds.reserve(items.size());
    for (const Item& item : items) {
        itemIds.push_back(item.ID);
    }
    SaleRecord sale;
    sale.key = key;
    sale.desk = settings_.DeskName();
    sale.itemIds = itemIds;
    sale.forcedItemIds = forcedItemIds;
    try {
        Store().StoreSale(sale);
        return sale;
    } catch (const NotImplementedException&) {
        // A store that keeps no sale records: the items are only marked sold.
    }
    Store().SetItemsStatus(itemIds, Sold);
    LogMessage(LogInfo, "FinishCheckout: store records no sales, %i items marked sold\n",
               static_cast<int>(itemIds.size()));
    return sale;
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
