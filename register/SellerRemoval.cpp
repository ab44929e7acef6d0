#include "SellerRemoval.h"

#include <algorithm>
#include <exception>

#include "core/StorageExceptions.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

const char* const RemovalTitle = N_("Odstránenie predajcu");

}  // namespace

std::string SellerRemoval::Refusal(const std::vector<Item>& items) {
    const auto sold = std::count_if(items.begin(), items.end(),
                                    [](const Item& item) { return item.STATUS == Sold; });
    if (sold == 0) {
        return std::string();
    }
    return FormatText(_("Predajca má %i kus(ov) predaného tovaru; jeho vyúčtovanie ešte čaká. "
                        "Predajcu s predaným tovarom nemožno odstrániť."),
                      static_cast<int>(sold));
}

bool SellerRemoval::RemoveAfterQuestion(DataAccessInterface& store, const Seller& seller) {
    const std::vector<Item> items = store.GetSellerItems(seller.ID);
    const std::string refusal = Refusal(items);
    if (!refusal.empty()) {
        ShowErrorBox(refusal, _("Predajcu nemožno odstrániť"));
        return false;
    }
    const std::string question =
        FormatText(_("Odstrániť predajcu %s – %s so všetkým jeho tovarom (%i ks)? "
                     "Odstránenie sa nedá vrátiť späť."),
                   seller.SHORT_CODE.c_str(), seller.NAME.c_str(), static_cast<int>(items.size()));
    if (!AskQuestion(question, _(RemovalTitle))) {
        return false;
    }
    try {
        store.RemoveSeller(seller.ID);
    } catch (const std::exception& failure) {
        LogMessage(LogError, "SellerRemoval: seller %i not removed: %s\n", seller.ID,
                   failure.what());
        const bool storage = dynamic_cast<const DataStorageException*>(&failure) != nullptr;
        ShowErrorBox(storage ? _("Predajca sa v údajoch nenašiel alebo sa nedal odstrániť.")
                             : failure.what(),
                     _("Predajcu sa nepodarilo odstrániť"));
        return false;
    }
    LogMessage(LogInfo, "SellerRemoval: seller %i '%s' removed with %i items\n", seller.ID,
               seller.SHORT_CODE.c_str(), static_cast<int>(items.size()));
    return true;
}

}  // namespace Kramo
