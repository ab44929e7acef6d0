#include "ImportDialogs.h"

#include <gtkmm/filechooserdialog.h>
#include <gtkmm/stock.h>
#include <gtkmm/window.h>

#include "import/FolderImport.h"
#include "import/ImportedSellerStore.h"
#include "import/SellerSheetImport.h"
#include "support/FileHelpers.h"
#include "support/FormatText.h"
#include "support/UserMessages.h"
#include "ui/MainWindow.h"

namespace KramoDialogs {
namespace {

// The folder of a chosen file or folder, ending with '/'.
std::string FolderOfChoice(const std::string& chosen, bool chooseFolder) {
    if (chooseFolder) {
        return chosen.empty() || chosen.back() == '/' ? chosen : chosen + "/";
    }
    return Kramo::DirectoryOfPath(chosen);
}

}  // namespace

ImportDialogs::ImportDialogs(Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister,
                             MainWindow& mainWindow)
    : settings_(settings),
      kramoRegister_(kramoRegister),
      mainWindow_(mainWindow),
      chooser_([this](const Choice& choice) { return ChooseOnScreen(choice); }) {}

std::string ImportDialogs::ChooseOnScreen(const Choice& choice) const {
    Gtk::FileChooserDialog dialog(mainWindow_.Window(), choice.title,
                                  choice.chooseFolder ? Gtk::FILE_CHOOSER_ACTION_SELECT_FOLDER
                                                      : Gtk::FILE_CHOOSER_ACTION_OPEN);
    dialog.add_button(Gtk::Stock::CANCEL, Gtk::RESPONSE_CANCEL);
    dialog.add_button(Gtk::Stock::OK, Gtk::RESPONSE_OK);
    dialog.set_filename(choice.presetName);
    dialog.set_current_folder(choice.startFolder);
    if (!choice.patterns.empty()) {
        Gtk::FileFilter filter;
        filter.set_name("Sheet files.");
        for (const std::string& pattern : choice.patterns) {
            filter.add_pattern(pattern);
        }
        dialog.add_filter(filter);
    }
    if (dialog.run() != Gtk::RESPONSE_OK) {
        return {};
    }
    return choice.chooseFolder ? std::string(dialog.get_current_folder())
                               : std::string(dialog.get_filename());
}

std::string ImportDialogs::Choose(const char* title, bool chooseFolder) {
    Choice choice;
    choice.title = title;
    choice.chooseFolder = chooseFolder;
    if (!chooseFolder) {
        choice.patterns = {"*.ods", "*.xls", "*.xlsx", "*.txt"};
    }
    choice.presetName = settings_.DataDirectory();
    choice.startFolder = settings_.LastImportFolder().empty() ? settings_.DataDirectory()
                                                              : settings_.LastImportFolder();
    const std::string chosen = chooser_(choice);
    if (!chosen.empty()) {
        settings_.SetLastImportFolder(FolderOfChoice(chosen, chooseFolder));
    }
    return chosen;
}

void ImportDialogs::ImportSingleSeller() {
    const std::string path = Choose("Select importer file", false);
    if (path.empty()) {
        return;
    }
    KramoExcel::SellerSheetImport import =
        KramoExcel::ImportSellerSheet(path, settings_.DataDirectory());
    Kramo::DataAccessInterface& store = kramoRegister_.Store();
    switch (import.outcome) {
        case KramoExcel::UnsupportedFormat:
            Kramo::ShowErrorBox("Nepodporovany format suboru", "");
            return;
        case KramoExcel::UnknownType:
            Kramo::ShowErrorBox("Neznámy typ súboru. Podporované su 'ods', 'xls', 'xlsx', 'txt'",
                                "");
            return;
        case KramoExcel::Failed:
            Kramo::ShowErrorBox("Error importing file." + import.FailureText,
                                "Error importing file.");
            mainWindow_.ReloadSellerList();
            return;
        case KramoExcel::Loaded:
            break;
    }
    if (KramoExcel::SellerExistsWithCode(store, import.seller.SHORT_CODE)) {
        Kramo::ShowErrorBox(
            Kramo::FormatText(
                "Predajca s rovnakým kódom už existuje. Zmažte najskôr predajcu '%s'.",
                import.seller.SHORT_CODE.c_str()),
            "");
        return;
    }
    KramoExcel::StoreImportedSeller(store, import, KramoExcel::ImportSellerCategory(store),
                                    store.GetItemCategories());
    Kramo::ShowInfoBox(
        "Predajca načítaný",
        Kramo::FormatText("Kód: %s Meno: %s Počet položiek: %i", import.seller.SHORT_CODE.c_str(),
                          import.seller.NAME.c_str(), static_cast<int>(import.items.size())));
    ShowImportedSeller(import.seller.ID);
}

void ImportDialogs::ShowImportedSeller(int sellerId) {
    mainWindow_.ReloadSellerList();
    if (const auto position = mainWindow_.Sellers().PositionOfId(sellerId)) {
        mainWindow_.ShowSellerAt(*position);
    }
}

void ImportDialogs::ImportMultiSellers() {
    KramoExcel::FolderImport::LogLine("Starting");
    if (Choose("Select folder with sheets", true).empty()) {
        return;
    }
    KramoExcel::FolderImport folderImport(kramoRegister_.Store(), settings_.DataDirectory());
    const KramoExcel::FolderImport::Summary summary =
        folderImport.Run(settings_.LastImportFolder());
    Kramo::ShowInfoBox("Predajcovia načítaný",
                       Kramo::FormatText("Korektne načítaných hárkov: %i Chýb: %i.",
                                         summary.correct, summary.errors));
    mainWindow_.ReloadSellerList();
}

}  // namespace KramoDialogs
