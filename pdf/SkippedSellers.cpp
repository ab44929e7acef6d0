#include "SkippedSellers.h"

#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace Kramo {

void SkippedSellers::Note(int sellerId, const std::string& code, const std::exception& failure) {
    if (!noted_.insert(sellerId).second) {
        return;
    }
    const std::string seller = code.empty() ? FormatText("ID %i", sellerId)
                                            : FormatText("%s (ID %i)", code.c_str(), sellerId);
    LogMessage(LogError, "Seller %s left out of the document or shown incomplete: %s\n",
               seller.c_str(), failure.what());
    lines_.push_back(seller + ": " + failure.what());
}

void SkippedSellers::Report() const {
    if (lines_.empty()) {
        return;
    }
    std::string detail = _("Údaje týchto predajcov sa nepodarilo prečítať:");
    for (const std::string& line : lines_) {
        detail += "\n" + line;
    }
    ShowErrorBox(detail, _("Niektorí predajcovia v dokumente chýbajú alebo nie sú úplní."));
}

}  // namespace Kramo
