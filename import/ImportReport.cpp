#include "ImportReport.h"

#include "support/FormatText.h"

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
    return Kramo::FormatText("Korektne načítaných hárkov: %i Chýb: %i.", correct, errors);
}

const char* ImportReport::StateText(State state) {
    switch (state) {
        case State::Stored:
            return "uložený";
        case State::Refused:
            return "odmietnutý";
        case State::NotASheet:
            return "nie je hárok predajcu";
        case State::Stopped:
            return "neuložený, import sa zastavil";
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
    std::string text = "Import hárkov predajcov: " + source_ + "\n" + Totals() + "\n";
    for (const Entry& entry : entries_) {
        text += "\n" + entry.fileName + ": " + StateText(entry.state);
        if (const std::string seller = SellerText(entry); !seller.empty()) {
            text += ", predajca " + seller;
        }
        if (entry.state == State::Stored) {
            text += Kramo::FormatText(", uložených položiek: %i", entry.itemsStored);
        }
        text += "\n";
        if (!entry.reason.empty()) {
            text += "    Dôvod: " + entry.reason + "\n";
        }
        for (const std::string& warning : entry.warnings) {
            text += "    " + warning + "\n";
        }
    }
    return text;
}

}  // namespace KramoExcel
