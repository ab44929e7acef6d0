#include "ItemLabelsDocument.h"

#include <algorithm>
#include <filesystem>

#include "core/ItemBarcode.h"
#include "register/DocumentNames.h"
#include "register/ExceptionHandlers.h"
#include "register/PdfDocuments.h"
#include "support/FormatText.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

const char* const NoItemNeedsLabel = "Žiadny tovar nepotrebuje štítok.";

std::string LabelsFileName(const std::vector<Seller>& sellers) {
    return TimeStampedFileName(
        sellers.size() == 1 ? "Stitky_" + FileNamePart(sellers.front().SHORT_CODE) : "Stitky",
        "pdf");
}

}  // namespace

bool ItemNeedsLabel(const Item& item) {
    return item.STATUS == Unassigned || item.STATUS == InStock || item.STATUS == ToTrace;
}

std::vector<ItemLabel> ItemLabelsOf(DataAccessInterface& store, const std::vector<Seller>& sellers,
                                    const std::string& currencyUnit) {
    std::vector<ItemLabel> labels;
    for (const Seller& seller : sellers) {
        std::vector<Item> items = store.GetSellerItems(seller.ID);
        std::stable_sort(items.begin(), items.end(),
                         [](const Item& a, const Item& b) { return a.NUMBER < b.NUMBER; });
        for (const Item& item : items) {
            if (ItemNeedsLabel(item)) {
                labels.push_back({seller.SHORT_CODE, item.NUMBER,
                                  FormatText("%0.2f %s", item.PRICE, currencyUnit.c_str()),
                                  item.NAME, ItemBarcode::Text({seller.ID, item.NUMBER})});
            }
        }
    }
    return labels;
}

std::optional<std::string> PrintItemLabels(KramoRegister& kramoRegister,
                                           const KramoSettings& settings,
                                           const std::vector<int>& sellerIds) {
    DataAccessInterface& store = kramoRegister.Store();
    std::vector<Seller> sellers;
    std::vector<ItemLabel> labels;
    try {
        for (const int sellerId : sellerIds) {
            sellers.push_back(store.GetSeller(sellerId));
        }
        labels = ItemLabelsOf(store, sellers, settings.CurrencyUnit());
    } catch (const std::exception& failure) {
        HandleException(failure);
        return std::nullopt;
    }
    if (labels.empty()) {
        ShowInfoBox(NoItemNeedsLabel, "Štítky");
        return std::nullopt;
    }
    const std::string path = FreeFilePath(DocumentsFolder(settings), LabelsFileName(sellers));
    const bool written = WriteDocument(settings, path, [&](PdfWrapperBase& writer) {
        WriteItemLabels(writer, LabelLayout::ByKey(settings.LabelLayout()),
                        settings.FirstFreeLabel(), labels);
    });
    if (!written && !std::filesystem::exists(path)) {
        return std::nullopt;
    }
    return path;
}

}  // namespace Kramo
