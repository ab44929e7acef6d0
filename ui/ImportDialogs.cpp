#include "ImportDialogs.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/stock.h>
#include <gtkmm/window.h>

#include <filesystem>
#include <system_error>

#include "import/FolderImport.h"
#include "import/ImportedSellerStore.h"
#include "import/SellerSheetImport.h"
#include "import/SheetVerdict.h"
#include "register/ImportFolderRule.h"
#include "support/FileHelpers.h"
#include "support/FormatStream.h"
#include "support/Translation.h"
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

// The chooser's answer when Enter confirmed a folder typed into its location field.
constexpr int TypedFolderAnswer = 1;

// The folder typed into the chooser's location field, without what the field proposes after
// the cursor (selected); empty when the field is not in use or names no folder.
std::string TypedFolder(Gtk::FileChooserDialog& dialog) {
    Gtk::Widget* focus = dialog.get_focus();
    if (focus == nullptr || !GTK_IS_ENTRY(focus->gobj())) {
        return {};
    }
    GtkEditable* field = GTK_EDITABLE(focus->gobj());
    gchar* text = gtk_editable_get_chars(field, 0, -1);
    std::string typed = text;
    g_free(text);
    gint start = 0;
    gint end = 0;
    if (gtk_editable_get_selection_bounds(field, &start, &end) &&
        end == g_utf8_strlen(typed.c_str(), -1)) {
        typed.resize(static_cast<std::size_t>(g_utf8_offset_to_pointer(typed.c_str(), start) -
                                              typed.c_str()));
    }
    if (typed.empty()) {
        return {};
    }
    std::filesystem::path folder(typed);
    if (folder.is_relative()) {
        folder = std::filesystem::path(dialog.get_current_folder()) / folder;
    }
    std::error_code error;
    return std::filesystem::is_directory(folder, error) ? folder.string() : std::string();
}

}  // namespace

ImportDialogs::ImportDialogs(Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister,
                             MainWindow& mainWindow)
    : settings_(settings),
      kramoRegister_(kramoRegister),
      mainWindow_(mainWindow),
      chooser_([this](const Choice& choice) { return ChooseOnScreen(choice); }),
      reportWindow_(mainWindow.Window(), settings,
                    [this](const std::string& folder, const std::string& proposedName) {
                        return mainWindow_.AskTargetFile(folder, proposedName);
                    }) {}

std::string ImportDialogs::ChooseOnScreen(const Choice& choice) const {
    Gtk::FileChooserDialog dialog(mainWindow_.Window(), choice.title,
                                  choice.chooseFolder ? Gtk::FILE_CHOOSER_ACTION_SELECT_FOLDER
                                                      : Gtk::FILE_CHOOSER_ACTION_OPEN);
    dialog.add_button(Gtk::Stock::CANCEL, Gtk::RESPONSE_CANCEL);
    dialog.add_button(Gtk::Stock::OK, Gtk::RESPONSE_OK);
    if (!choice.presetName.empty()) {
        dialog.set_filename(choice.presetName);
    }
    dialog.set_current_folder(choice.startFolder);
    if (!choice.patterns.empty()) {
        Gtk::FileFilter filter;
        filter.set_name(_("Sheet files."));
        for (const std::string& pattern : choice.patterns) {
            filter.add_pattern(pattern);
        }
        dialog.add_filter(filter);
    }
    std::string typed;
    if (choice.chooseFolder) {
        // Enter in the location field takes the folder as typed: the chooser would first
        // complete it with its only subfolder and answer that one. The answer is the program's
        // own, which the chooser does not hold back while it reads the folder.
        dialog.signal_key_press_event().connect(
            [&dialog, &typed](GdkEventKey* key) {
                if (key->keyval != GDK_Return && key->keyval != GDK_KP_Enter) {
                    return false;
                }
                typed = TypedFolder(dialog);
                if (typed.empty()) {
                    return false;
                }
                dialog.response(TypedFolderAnswer);
                return true;
            },
            false);
    }
    const int answer = dialog.run();
    if (answer == TypedFolderAnswer) {
        return typed;
    }
    // The chosen folder, clicked once; the folder shown only when none is chosen.
    return answer == Gtk::RESPONSE_OK ? std::string(dialog.get_filename()) : std::string();
}

std::string ImportDialogs::Choose(const char* title, bool chooseFolder) {
    Choice choice;
    choice.title = title;
    choice.chooseFolder = chooseFolder;
    if (!chooseFolder) {
        choice.patterns = {"*.ods", "*.xls", "*.xlsx", "*.csv", "*.txt"};
        // A folder chooser gets no preset: it would offer the data folder itself.
        choice.presetName = settings_.DataDirectory();
    }
    choice.startFolder = settings_.LastImportFolder().empty() ? settings_.DataDirectory()
                                                              : settings_.LastImportFolder();
    const std::string chosen = chooser_(choice);
    if (!chosen.empty()) {
        settings_.SetLastImportFolder(FolderOfChoice(chosen, chooseFolder));
    }
    return chosen;
}

void ImportDialogs::ImportSingleSeller() {
    const std::string path = Choose(_("Select importer file"), false);
    if (path.empty()) {
        return;
    }
    KramoExcel::SellerSheetImport import =
        KramoExcel::ImportSellerSheet(path, settings_.DataDirectory());
    Kramo::DataAccessInterface& store = kramoRegister_.Store();
    const std::string fileName = std::filesystem::path(path).filename().string();
    // The folder import's rules; what it refuses outright, the user decides here.
    KramoExcel::SheetVerdict verdict = KramoExcel::JudgeSheet(import, store);
    bool storing =
        verdict.refusal.empty() &&
        (verdict.doubts.empty() ||
         Kramo::AskQuestion(verdict.DoubtQuestion(),
                            (Kramo::FormatStream(_("Import hárku %s")) << fileName).str()));
    if (storing) {
        storing = KramoExcel::StoreJudgedSheet(store, import, verdict,
                                               KramoExcel::ImportSellerCategory(store),
                                               store.GetItemCategories());
    }
    KramoExcel::ImportReport::Entry entry =
        KramoExcel::ReportEntry(fileName, import, verdict, storing);
    if (!storing && verdict.refusal.empty()) {
        entry.reason += _(". Hárok ste sa rozhodli neuložiť.");
    }
    KramoExcel::ImportReport report(path);
    report.Add(std::move(entry));
    ShowReport(std::move(report));
    if (storing) {
        ShowImportedSeller(import.seller.ID);
    } else if (import.outcome == KramoExcel::Failed) {
        mainWindow_.ReloadSellerList();
    }
}

void ImportDialogs::ShowImportedSeller(int sellerId) {
    mainWindow_.ReloadSellerList();
    if (const auto position = mainWindow_.Sellers().PositionOfId(sellerId)) {
        mainWindow_.ShowSellerAt(*position);
    }
}

void ImportDialogs::ImportMultiSellers() {
    KramoExcel::FolderImport::LogLine("Starting");
    const std::string folder = Choose(_("Select folder with sheets"), true);
    if (folder.empty()) {
        return;
    }
    if (const auto refusal = Kramo::RefusedImportFolder(folder, settings_)) {
        KramoExcel::FolderImport::LogLine("Refused the program's own folder " + folder);
        Kramo::ShowErrorBox(*refusal, _(Kramo::RefusedImportFolderTitle));
        return;
    }
    KramoExcel::FolderImport folderImport(kramoRegister_.Store(), settings_.DataDirectory());
    KramoExcel::FolderImport::Summary summary = folderImport.Run(settings_.LastImportFolder());
    ShowReport(std::move(summary.report));
    mainWindow_.ReloadSellerList();
}

void ImportDialogs::ShowReport(KramoExcel::ImportReport report) {
    lastReport_ = std::move(report);
    reportWindow_.Show(*lastReport_);
    if (reportMade_) {
        reportMade_();
    }
}

void ImportDialogs::ShowLastReport() {
    if (lastReport_) {
        reportWindow_.Show(*lastReport_);
    }
}

}  // namespace KramoDialogs
