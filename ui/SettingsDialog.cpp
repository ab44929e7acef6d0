#include "SettingsDialog.h"

#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/radiobutton.h>
#include <gtkmm/spinbutton.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <stdexcept>

#include "pdf/LabelLayout.h"
#include "pdf/ReceiptPage.h"
#include "register/SettingsApplication.h"
#include "settings/FontSizeOption.h"
#include "support/FormatText.h"
#include "support/Translation.h"
#include "support/UserMessages.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

// The leading integer of the text, 0 without digits or beyond the range of a port number
// field.
int LeadingInteger(const std::string& text) {
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return errno == ERANGE || value < INT_MIN || value > INT_MAX ? 0 : static_cast<int>(value);
}

}  // namespace

SettingsDialog::SettingsDialog(const Glib::RefPtr<Gnome::Glade::Xml>& xml,
                               Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister,
                               std::function<void()> storeReplaced)
    : settings_(settings),
      kramoRegister_(kramoRegister),
      storeReplaced_(std::move(storeReplaced)),
      runner_([](Gtk::Dialog& dialog) { return dialog.run(); }) {
    Gtk::Dialog* dialog = nullptr;
    WidgetLookup(xml, "Dialog file is corrupt [Nastavenia].").Get("Nastavenia", dialog).Check();
    dialog_.reset(dialog);
    WidgetLookup(xml, "Dialog file is corrupt [Nastavenia] part 2.")
        .Get("entry_name_of_kramo", saleName_)
        .GetDerived("combo_font_size", fontSize_)
        .Get("radio_1file", localFiles_)
        .Get("radio_2db", database_)
        .Get("entry_dbaddress", address_)
        .Get("entry_dbuser", user_)
        .Get("entry_dbpassword", password_)
        .Get("entry_dbname", databaseName_)
        .Get("entry_dbport", port_)
        .Check();
    WidgetLookup(xml, "Dialog file is corrupt [Nastavenia] part 3.")
        .GetDerived("combo_label_layout", labelLayout_)
        .Get("spin_first_free_label", firstFreeLabel_)
        .GetDerived("combo_receipt_page", receiptPage_)
        .GetDerived("combo_print_receipts", printReceipts_)
        .Get("entry_receipt_printer", receiptPrinter_)
        .Get("entry_desk_name", deskName_)
        .Check();
    WidgetLookup(xml, "Dialog file is corrupt [Nastavenia] part 4.")
        .Get("entry_bazaar_folder", bazaarFolder_)
        .Get("entry_backup_folder", backupFolder_)
        .Get("spin_backup_minutes", backupMinutes_)
        .Get("spin_backup_keep", backupKeep_)
        .Check();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::FillFontSizes() {
    fontSize_->ClearItems();
    int active = 0;
    const std::vector<Kramo::FontSizeOption>& offered = Kramo::OfferedFontSizes();
    for (std::size_t index = 0; index < offered.size(); ++index) {
        fontSize_->AppendText(_(offered[index].label.c_str()));
        if (offered[index].value == settings_.FontSize()) {
            active = static_cast<int>(index);
        }
    }
    fontSize_->set_active(active);
}

namespace {

const char* const PrintingTitles[] = {N_("netlačiť"), N_("opýtať sa pri každom nákupe"),
                                      N_("vždy tlačiť")};

// Fills the combo with the titles of the offered entries and chooses the one of the key.
template <typename Offered>
void FillChoices(ComboBoxTextDer& combo, const std::vector<Offered>& offered,
                 const std::string& chosenKey) {
    combo.ClearItems();
    for (const Offered& entry : offered) {
        combo.AppendText(_(entry.title.c_str()));
    }
    combo.set_active(static_cast<int>(&Offered::ByKey(chosenKey) - offered.data()));
}

template <typename Offered>
std::string ChosenKey(ComboBoxTextDer& combo, const std::vector<Offered>& offered) {
    const int chosen = combo.get_active_row_number();
    return chosen >= 0 && chosen < static_cast<int>(offered.size()) ? offered[chosen].key
                                                                    : std::string();
}

}  // namespace

void SettingsDialog::FillDocumentChoices() {
    FillChoices(*labelLayout_, Kramo::LabelLayout::All(), settings_.LabelLayout());
    FillChoices(*receiptPage_, Kramo::ReceiptPage::All(), settings_.ReceiptPage());
    printReceipts_->ClearItems();
    for (const char* title : PrintingTitles) {
        printReceipts_->AppendText(_(title));
    }
    printReceipts_->set_active(static_cast<int>(settings_.PrintReceipts()));
    firstFreeLabel_->set_value(settings_.FirstFreeLabel());
    receiptPrinter_->set_text(settings_.ReceiptPrinterName());
}

void SettingsDialog::FillFolders() {
    // Beside the program the data lies in its own folder: there is no bazaar folder to choose.
    bazaarFolder_->set_sensitive(settings_.Installed());
    bazaarFolder_->set_text(settings_.Installed() ? settings_.BazaarDirectory()
                                                  : settings_.ProgramDirectory());
    backupFolder_->set_text(settings_.BackupFolder());
    backupMinutes_->set_value(settings_.BackupEveryMinutes());
    backupKeep_->set_value(settings_.BackupKeep());
}

void SettingsDialog::OpenSettingsDialog() {
    FillFontSizes();
    FillDocumentChoices();
    FillFolders();
    saleName_->set_text(settings_.SaleName());
    deskName_->set_text(settings_.DeskName());
    (settings_.DatabaseInLocalFiles() ? localFiles_ : database_)->set_active(true);
    address_->set_text(settings_.ServerAddress());
    user_->set_text(settings_.User());
    password_->set_text(settings_.Password());
    databaseName_->set_text(settings_.DatabaseName());
    port_->set_text(Kramo::FormatText("%i", settings_.Port()));

    const int response = runner_(*dialog_);
    dialog_->hide();
    if (response == Gtk::RESPONSE_OK) {
        ConfirmSettingsDialog();
    }
}

void SettingsDialog::ReadWidgets() {
    settings_.SetSaleName(saleName_->get_text());
    const int chosen = fontSize_->get_active_row_number();
    const std::vector<Kramo::FontSizeOption>& offered = Kramo::OfferedFontSizes();
    settings_.SetFontSize(
        chosen >= 0 && chosen < static_cast<int>(offered.size()) ? offered[chosen].value : -1);
    settings_.SetDatabaseInLocalFiles(localFiles_->get_active());
    settings_.SetServerAddress(address_->get_text());
    settings_.SetUser(user_->get_text());
    settings_.SetPassword(password_->get_text());
    settings_.SetDatabaseName(databaseName_->get_text());
    settings_.SetPort(LeadingInteger(port_->get_text()));
    settings_.SetLabelLayout(ChosenKey(*labelLayout_, Kramo::LabelLayout::All()));
    settings_.SetFirstFreeLabel(firstFreeLabel_->get_value_as_int());
    settings_.SetReceiptPage(ChosenKey(*receiptPage_, Kramo::ReceiptPage::All()));
    settings_.SetPrintReceipts(
        static_cast<Kramo::ReceiptPrinting>(std::max(0, printReceipts_->get_active_row_number())));
    settings_.SetReceiptPrinterName(receiptPrinter_->get_text());
    settings_.SetDeskName(deskName_->get_text());
    ReadFolders();
}

void SettingsDialog::ReadFolders() {
    settings_.SetBazaarDirectory(bazaarFolder_->get_text());
    settings_.SetBackupFolder(backupFolder_->get_text());
    settings_.SetBackupEveryMinutes(backupMinutes_->get_value_as_int());
    settings_.SetBackupKeep(backupKeep_->get_value_as_int());
}

void SettingsDialog::ConfirmSettingsDialog() {
    dialog_->hide();
    const int formerFontSize = settings_.FontSize();
    ReadWidgets();
    settings_.SaveSettings();
    bool opened = false;
    try {
        // Without the windows: they keep their font until the next start, as the box says.
        Kramo::ApplySettings(settings_, kramoRegister_, nullptr);
        opened = true;
    } catch (const std::runtime_error&) {
        // Already logged and shown; the program stays without a store until the settings
        // name one that opens.
    }
    if (opened) {
        storeReplaced_();
    }
    if (settings_.FontSize() != formerFontSize) {
        Kramo::ShowInfoBox(_("Zmena veľkosti písma sa prejaví pri ďalšom spustení programu"),
                           _("Veľkosť písma zmenená"));
    }
}

}  // namespace KramoDialogs
