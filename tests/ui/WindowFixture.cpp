#include "WindowFixture.h"

#include <gtkmm/entry.h>
#include <gtkmm/main.h>
#include <gtkmm/treeview.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "storage/CachedDataTextfile.h"

namespace KramoTest {

void WindowFixture::WriteSellerFile(const std::string& name, const std::string& content) {
    ::mkdir(DataDirectory().c_str(), 0777);
    std::ofstream(DataDirectory() + name, std::ios::binary) << content;
}

WindowFixture::~WindowFixture() {
    if (!formerWorkingDirectory_.empty()) {
        std::filesystem::current_path(formerWorkingDirectory_);
    }
}

void WindowFixture::Open() {
    ::mkdir(DataDirectory().c_str(), 0777);
    formerWorkingDirectory_ = std::filesystem::current_path().string();
    std::filesystem::current_path(programPath_);
    std::filesystem::copy_file(KRAMO_GLADE_FILE, DataDirectory() + "kramo.glade",
                               std::filesystem::copy_options::overwrite_existing);
    settings_ = std::make_unique<Kramo::KramoSettings>(reporter_, ProgramDirectory());
    kramoRegister_.ReplaceStore(ReopenStore());
    windows_ =
        std::make_unique<KramoDialogs::UserInterface>(*settings_, kramoRegister_, itemSearch_);
    // Installed after the windows' own boxes, so the script answers instead of a person.
    boxes_ = std::make_unique<ScriptedUserMessages>();
    ASSERT_TRUE(windows_->SetupDialogs());
    windows_->LoadSellers();
    mainXml_ = windows_->MainDescription();
    DrainEvents();
}

std::unique_ptr<Kramo::DataAccessInterface> WindowFixture::ReopenStore() const {
    return std::make_unique<Kramo::CachedDataTextfile>(DataDirectory());
}

std::vector<std::string> WindowFixture::ItemColumn(
    const Gtk::TreeModelColumn<Glib::ustring>& column) {
    std::vector<std::string> texts;
    for (const Gtk::TreeModel::Row& row : Main().ItemRows()->children()) {
        texts.push_back(Glib::ustring(row[column]).raw());
    }
    return texts;
}

std::vector<std::string> WindowFixture::ImportReportRows() {
    const KramoDialogs::ImportReportWindow& window = windows_->Imports().ReportWindow();
    const auto& columns = window.RowColumns();
    std::vector<std::string> rows;
    for (const Gtk::TreeModel::Row& file : window.Rows()->children()) {
        rows.push_back(Glib::ustring(file[columns.file]).raw() + " | " +
                       Glib::ustring(file[columns.state]).raw() + " | " +
                       Glib::ustring(file[columns.seller]).raw() + " | " +
                       Glib::ustring(file[columns.items]).raw() + " | " +
                       Glib::ustring(file[columns.reason]).raw());
        for (const Gtk::TreeModel::Row& warning : file.children()) {
            rows.push_back("    " + Glib::ustring(warning[columns.reason]).raw());
        }
    }
    return rows;
}

namespace {

std::vector<std::string> ComboTexts(const Gtk::ComboBox& combo) {
    std::vector<std::string> texts;
    for (const Gtk::TreeModel::Row& row : combo.get_model()->children()) {
        Glib::ustring text;
        row.get_value(0, text);
        texts.push_back(text.raw());
    }
    return texts;
}

}  // namespace

std::vector<std::string> WindowFixture::SellerComboTexts() {
    return ComboTexts(Main().SellerCombo());
}

std::vector<std::string> WindowFixture::CheckoutSellerComboTexts() {
    return ComboTexts(windows_->CheckoutSellerCombo());
}

void WindowFixture::SelectItemRows(const std::vector<int>& rows) {
    const Glib::RefPtr<Gtk::TreeSelection> selection = Main().ItemView().get_selection();
    selection->unselect_all();
    for (const int row : rows) {
        Gtk::TreeModel::Path path;
        path.push_back(row);
        selection->select(path);
    }
}

void WindowFixture::DrainEvents() {
    while (Gtk::Main::events_pending()) {
        Gtk::Main::iteration(false);
    }
}

bool WindowFixture::SelectedForTheNextScan(Gtk::Entry& field) {
    int start = 0, end = 0;
    const bool whole = field.get_selection_bounds(start, end) && start == 0 &&
                       end == static_cast<int>(field.get_text_length());
    GtkClipboard* primary =
        gtk_widget_get_clipboard(GTK_WIDGET(field.gobj()), GDK_SELECTION_PRIMARY);
    return whole || gtk_clipboard_get_owner(primary) != G_OBJECT(field.gobj());
}

void WindowFixture::DrainEventsFor(int milliseconds) {
    const gint64 end = g_get_monotonic_time() + gint64{milliseconds} * 1000;
    while (g_get_monotonic_time() < end) {
        DrainEvents();
        g_usleep(5000);
    }
}

}  // namespace KramoTest
