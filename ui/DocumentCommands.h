#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "pdf/PdfWrapperBase.h"
#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"
#include "ui/CashUpDialog.h"

namespace KramoDialogs {

class MainWindow;

// The organiser's documents of the menu of other actions: the statistics and the overview of
// every seller's statement, saved where the user chooses and opened in the viewer.
class DocumentCommands {
  public:
    // The chosen path for a proposed name in a folder, or empty when the user cancelled.
    using TargetQuestion =
        std::function<std::string(const std::string& folder, const std::string& proposedName)>;

    DocumentCommands(const Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister,
                     MainWindow& mainWindow);

    void SaveStatistics();
    // The sellers in the order of the main window's seller list.
    void SaveSellerOverview();
    // The labels of every seller's items that need one, or only of the sellers in a state, in
    // the order of the seller list; opened in the viewer.
    void PrintLabels(std::optional<int32_t> sellerState);
    // The empty seller sheet for the sellers, saved as xlsx where the user chooses.
    void SaveSheetTemplate();
    // The cash-up of the desk and day the user chooses (this desk and today offered), written
    // into the documents folder and opened in the viewer.
    void SaveCashUp();
    CashUpDialog& CashUpChoice();
    // The whole data folder as one dated zip file where the user chooses (the last folder
    // chosen offered, else the documents folder). The database has its own backups.
    void SaveBackup();

    // Tests answer the question instead of a user.
    void SetTargetQuestion(TargetQuestion question) { targetQuestion_ = std::move(question); }

  private:
    void SaveDocument(const char* prefix,
                      const std::function<void(Kramo::PdfWrapperBase&)>& content);

    const Kramo::KramoSettings& settings_;
    Kramo::KramoRegister& kramoRegister_;
    MainWindow& mainWindow_;
    TargetQuestion targetQuestion_;
    std::unique_ptr<CashUpDialog> cashUpDialog_;  // made when first needed
    std::string lastBackupFolder_;
};

}  // namespace KramoDialogs
