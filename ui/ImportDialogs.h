#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "import/ImportReport.h"
#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"
#include "ui/ImportReportWindow.h"

namespace KramoDialogs {

class MainWindow;

// The two import commands of the main window: one seller sheet, or every sheet of a folder.
// Each ends in the report window; the last report can be shown again until the next import.
class ImportDialogs {
  public:
    // What the file chooser is asked for.
    struct Choice {
        std::string title;
        bool chooseFolder = false;
        std::vector<std::string> patterns;  // one filter "Sheet files." when not empty
        std::string startFolder;
        std::string presetName;
    };
    // The chosen file or folder, or empty when the user cancelled.
    using Chooser = std::function<std::string(const Choice&)>;

    ImportDialogs(Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister,
                  MainWindow& mainWindow);

    void ImportSingleSeller();
    void ImportMultiSellers();
    // The report window again with the last import's report; nothing before the first import.
    void ShowLastReport();
    // Called whenever an import has made a new report.
    void SetReportMadeHandler(std::function<void()> handler) { reportMade_ = std::move(handler); }

    // Tests answer the chooser instead of a user.
    void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }
    ImportReportWindow& ReportWindow() { return reportWindow_; }

  private:
    std::string Choose(const char* title, bool chooseFolder);
    std::string ChooseOnScreen(const Choice& choice) const;
    void ShowImportedSeller(int sellerId);
    void ShowReport(KramoExcel::ImportReport report);

    Kramo::KramoSettings& settings_;
    Kramo::KramoRegister& kramoRegister_;
    MainWindow& mainWindow_;
    Chooser chooser_;
    ImportReportWindow reportWindow_;
    std::optional<KramoExcel::ImportReport> lastReport_;
    std::function<void()> reportMade_;
};

}  // namespace KramoDialogs
