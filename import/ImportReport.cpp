#include "ImportReport.h"

#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace KramoExcel {

std::string ImportReport::Totals() const {
    int correct = 0;
    int errors = 0;
    for (const Entry& entry : entries_) {
        if (entry.error) {
            ++errors;
        } else if (entry.state == State::Stored) {
            ++correct;
        }
    }
    return Kramo::FormatText(_("Korektne načítaných hárkov: %i Chýb: %i."), correct, errors);
}

const char* ImportReport::StateText(State state) {
    switch (state) {
        case State::Stored:
            return _("uložený");
        case State::Refused:
            return _("odmietnutý");
        case State::NotASheet:
            return _("nie je hárok predajcu");
        case State::Stopped:
            return _("neuložený, import sa zastavil");
    }
    return "";
}

std::string ImportReport::SellerText(const Entry& entry) {
    if (entry.sellerCode.empty() && entry.sellerName.empty()) {
        return {};
    }
    return entry.sellerCode + " – " + entry.sellerName;
}

std::string ImportReport::Text() const {
    std::string text = (Kramo::FormatStream(_("Import hárkov predajcov: %s")) << source_).str() +
                       "\n" + Totals() + "\n";
    for (const Entry& entry : entries_) {
        text += "\n" + entry.fileName + ": " + StateText(entry.state);
        if (const std::string seller = SellerText(entry); !seller.empty()) {
            text += (Kramo::FormatStream(_(", predajca %s")) << seller).str();
        }
        if (entry.state == State::Stored) {
            text += Kramo::FormatText(_(", uložených položiek: %i"), entry.itemsStored);
        }
        text += "\n";
        if (!entry.reason.empty()) {
            text += "    " + (Kramo::FormatStream(_("Dôvod: %s")) << entry.reason).str() + "\n";
        }
        for (const std::string& warning : entry.warnings) {
            text += "    " + warning + "\n";
        }
    }
    return text;
}

}  // namespace KramoExcel
