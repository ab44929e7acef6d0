#include "CashUpDocument.h"

#include <filesystem>
#include <stdexcept>

#include "pdf/CashUpReport.h"
#include "register/CashUpRules.h"
#include "register/DocumentNames.h"
#include "register/ExceptionHandlers.h"
#include "register/PdfDocuments.h"
#include "support/Clock.h"
#include "support/Translation.h"

namespace Kramo {

std::optional<std::vector<RecordedSale>> ReadRecordedSales(KramoRegister& kramoRegister) {
    try {
        return kramoRegister.Store().GetRecordedSales();
    } catch (const NotImplementedException&) {
        HandleException(
            std::runtime_error(_("Tento spôsob uloženia údajov nevedie záznamy o "
                                 "nákupoch: uzávierka pokladne sa nedá urobiť.")));
    } catch (const std::exception& failure) {
        HandleException(failure);
    }
    return std::nullopt;
}

std::optional<std::string> PrintCashUp(const KramoSettings& settings,
                                       const std::vector<RecordedSale>& sales,
                                       const std::string& desk, const Timestamp& day) {
    const CashUp cashUp = ComputeCashUp(sales, desk, day);
    const std::string path =
        FreeFilePath(DocumentsFolder(settings), CashUpFileName(desk, CurrentTimestamp()));
    const bool written = WriteDocument(settings, path, [&](PdfWrapperBase& writer) {
        WriteCashUpReport(writer, cashUp, settings.SaleName(), settings.CurrencyUnit());
    });
    // A document the disk did not take is not there to be opened.
    if (!written && !std::filesystem::exists(path)) {
        return std::nullopt;
    }
    return path;
}

}  // namespace Kramo
