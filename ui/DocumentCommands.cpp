#include "DocumentCommands.h"

#include <stdexcept>
#include <vector>

#include "import/SellerSheetTemplate.h"
#include "pdf/SellerOverview.h"
#include "register/CashUpDocument.h"
#include "register/CashUpRules.h"
#include "register/DocumentNames.h"
#include "register/ExceptionHandlers.h"
#include "register/ItemLabelsDocument.h"
#include "register/PdfDocuments.h"
#include "register/SellersSummary.h"
#include "storage/DataBackup.h"
#include "support/Clock.h"
#include "support/DocumentOpener.h"
#include "support/FileHelpers.h"
#include "support/FormatStream.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "support/UserMessages.h"
#include "ui/MainWindow.h"

namespace KramoDialogs {

DocumentCommands::DocumentCommands(const Kramo::KramoSettings& settings,
                                   Kramo::KramoRegister& kramoRegister, MainWindow& mainWindow)
    : settings_(settings),
      kramoRegister_(kramoRegister),
      mainWindow_(mainWindow),
      targetQuestion_([this](const std::string& folder, const std::string& proposedName) {
          return mainWindow_.AskTargetFile(folder, proposedName);
      }) {}

void DocumentCommands::SaveDocument(const char* prefix,
                                    const std::function<void(Kramo::PdfWrapperBase&)>& content) {
    const std::string path = targetQuestion_(Kramo::DocumentsFolder(settings_),
                                             Kramo::TimeStampedFileName(prefix, "pdf"));
    if (path.empty() || !Kramo::WriteDocument(settings_, path, content)) {
        return;
    }
    try {
        Kramo::OpenDocument(path);
    } catch (const std::exception& failure) {
        Kramo::HandlePdfExceptions(failure);
    }
}

void DocumentCommands::SaveStatistics() {
    SaveDocument("Statistika", [this](Kramo::PdfWrapperBase& writer) {
        Kramo::WriteSellersSummary(writer, kramoRegister_.Store(), settings_);
    });
}

void DocumentCommands::SaveSellerOverview() {
    std::vector<int> sellerIds;
    for (const Kramo::SellerList::Entry& entry : mainWindow_.Sellers().Entries()) {
        sellerIds.push_back(entry.seller.ID);
    }
    SaveDocument("PrehladPredajcov", [&](Kramo::PdfWrapperBase& writer) {
        Kramo::WriteSellerOverview(writer, kramoRegister_.Store(), sellerIds,
                                   settings_.CurrencyUnit());
    });
}

void DocumentCommands::PrintLabels(std::optional<int32_t> sellerState) {
    std::vector<Kramo::Seller> sellers;
    for (const Kramo::SellerList::Entry& entry : mainWindow_.Sellers().Entries()) {
        if (!sellerState || entry.seller.STATUS == *sellerState) {
            sellers.push_back(entry.seller);
        }
    }
    if (const auto path = Kramo::PrintItemLabels(kramoRegister_, settings_, sellers)) {
        Kramo::OpenDocument(*path);
    }
}

void DocumentCommands::SaveSheetTemplate() {
    const std::string path =
        targetQuestion_(Kramo::DocumentsFolder(settings_), "Harok_predajcu.xlsx");
    if (path.empty()) {
        return;
    }
    try {
        KramoExcel::WriteSellerSheetTemplate(path, settings_.SaleName());
    } catch (const std::exception& failure) {
        Kramo::ShowErrorBox(failure.what(), _("Šablóna hárku"));
        return;
    }
    Kramo::ShowInfoBox((Kramo::FormatStream(_("Šablóna hárku je uložená v súbore %s. Predajcovia "
                                              "ju vyplnia a vrátia; vyplnené hárky sa importujú."))
                        << path)
                           .str(),
                       _("Šablóna hárku"));
}

void DocumentCommands::SaveBackup() {
    const char* title = _("Záloha údajov");
    if (!settings_.DatabaseInLocalFiles()) {
        Kramo::ShowInfoBox(_("Údaje sú v databáze na serveri; zálohuje sa ona sama (pg_dump)."),
                           title);
        return;
    }
    const std::string folder =
        lastBackupFolder_.empty() ? Kramo::DocumentsFolder(settings_) : lastBackupFolder_;
    const std::string path = targetQuestion_(folder, Kramo::TimeStampedFileName("Zaloha", "zip"));
    if (path.empty()) {
        return;
    }
    try {
        Kramo::DataBackup::Read(settings_.DataDirectory()).WriteTo(path);
    } catch (const Kramo::DataBackupException& failure) {
        Kramo::LogMessage(Kramo::LogError, "%s\n", failure.what());
        Kramo::ShowErrorBox(failure.UserText(), title);
        return;
    }
    lastBackupFolder_ = Kramo::DirectoryOfPath(path);
    Kramo::ShowInfoBox(
        (Kramo::FormatStream(_("Záloha údajov je uložená v súbore %s.")) << path).str(), title);
}

CashUpDialog& DocumentCommands::CashUpChoice() {
    if (!cashUpDialog_) {
        cashUpDialog_ = std::make_unique<CashUpDialog>(mainWindow_.Window());
    }
    return *cashUpDialog_;
}

void DocumentCommands::SaveCashUp() {
    const std::optional<std::vector<Kramo::RecordedSale>> sales =
        Kramo::ReadRecordedSales(kramoRegister_);
    if (!sales) {
        return;
    }
    const std::optional<CashUpDialog::Choice> choice = CashUpChoice().Ask(
        Kramo::DesksOnRecord(*sales, settings_.DeskName()), Kramo::CurrentTimestamp());
    if (!choice) {
        return;
    }
    // Read again: the desk may have sold while the dialog was open.
    const std::optional<std::vector<Kramo::RecordedSale>> current =
        Kramo::ReadRecordedSales(kramoRegister_);
    const std::optional<std::string> path =
        current ? Kramo::PrintCashUp(settings_, *current, choice->desk, choice->day) : std::nullopt;
    if (!path) {
        return;
    }
    try {
        Kramo::OpenDocument(*path);
    } catch (const std::exception& failure) {
        Kramo::HandlePdfExceptions(failure);
    }
}

}  // namespace KramoDialogs
