#include "ItemLabelsDocument.h"

#include <algorithm>
#include <filesystem>

#include "core/ItemBarcode.h"
#include "register/DocumentNames.h"
#include "register/PdfDocuments.h"
#include "support/FormatText.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

const char* const NoItemNeedsLabel = N_("Žiadny tovar nepotrebuje štítok.");

std::string LabelsFileName(const std::vector<Seller>& sellers) {
    return TimeStampedFileName(
        sellers.size() == 1 ? "Stitky_" + FileNamePart(sellers.front().SHORT_CODE) : "Stitky",
        "pdf");
}

}  // namespace

bool ItemNeedsLabel(const Item& item) {
    return item.STATUS == Unassigned || item.STATUS == InStock || item.STATUS == ToTrace;
}

void AddSellerLabels(LabelSheets& sheets, DataAccessInterface& store, const Seller& seller,
                     const std::string& currencyUnit) {
    std::vector<Item> items = store.GetSellerItems(seller.ID);
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.NUMBER < b.NUMBER; });
    for (const Item& item : items) {
        if (ItemNeedsLabel(item)) {
            sheets.Add({seller.SHORT_CODE, item.NUMBER,
                        FormatText("%0.2f %s", item.PRICE, currencyUnit.c_str()), item.NAME,
                        ItemBarcode::Text({seller.ID, item.NUMBER})});
        }
    }
}

std::optional<std::string> PrintItemLabels(KramoRegister& kramoRegister,
                                           const KramoSettings& settings,
                                           const std::vector<Seller>& sellers) {
    DataAccessInterface& store = kramoRegister.Store();
    const std::string path = FreeFilePath(DocumentsFolder(settings), LabelsFileName(sellers));
    int count = 0;
    const bool written = WriteStreamedDocument(settings, path, [&](PdfCanvas& canvas) {
        LabelSheets sheets(canvas, LabelLayout::ByKey(settings.LabelLayout()),
                           settings.FirstFreeLabel());
        for (const Seller& seller : sellers) {
            AddSellerLabels(sheets, store, seller, settings.CurrencyUnit());
        }
        count = sheets.Count();
    });
    if (written && count == 0) {
        std::filesystem::remove(path);
        ShowInfoBox(_(NoItemNeedsLabel), _("Štítky"));
        return std::nullopt;
    }
    if (!written && !std::filesystem::exists(path)) {
        return std::nullopt;
    }
    return path;
}

}  // namespace Kramo
