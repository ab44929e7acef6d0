#include "ReceiptPrinter.h"

#include <cups/cups.h>

#include <stdexcept>

#include "support/Log.h"

namespace Kramo {

std::string ReceiptPrinter::OnPrinter() const {
    return printerName_.empty() ? "na predvolenej tlačiarni"
                                : "na tlačiarni „" + printerName_ + "“";
}

int ReceiptPrinter::Print(const std::string& path, const std::string& title) const {
    std::string destination = printerName_;
    if (destination.empty()) {
        const char* byDefault = cupsGetDefault2(CUPS_HTTP_DEFAULT);
        if (byDefault == nullptr) {
            throw std::runtime_error(
                "Účet sa nepodarilo vytlačiť: nie je nastavená žiadna predvolená tlačiareň.");
        }
        destination = byDefault;
    }
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, destination.c_str(), path.c_str(),
                                   title.c_str(), 0, nullptr);
    if (job == 0) {
        const std::string reason = cupsLastErrorString();
        LogMessage(LogError, "ReceiptPrinter: '%s' not printed on '%s': %s\n", path.c_str(),
                   destination.c_str(), reason.c_str());
        throw std::runtime_error("Účet sa nepodarilo vytlačiť " + OnPrinter() + ": " + reason);
    }
    LogMessage(LogInfo, "ReceiptPrinter: '%s' sent to '%s' as job %i\n", path.c_str(),
               destination.c_str(), job);
    return job;
}

}  // namespace Kramo
