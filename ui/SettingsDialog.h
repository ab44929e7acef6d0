#pragma once

#include <libglademm/xml.h>

#include <functional>
#include <memory>

#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"
#include "ui/ComboBoxTextDer.h"

namespace Gtk {
class Dialog;
class Entry;
class RadioButton;
class SpinButton;
}  // namespace Gtk

namespace KramoDialogs {

// "Nastavenia": the sale name, the interface font size, where the data lives and its backups.
// Confirming writes the settings file and reopens the store at once; the font changes at the next
// start.
class SettingsDialog {
  public:
    // Runs the dialog modally and answers its response.
    using Runner = std::function<int(Gtk::Dialog&)>;

    // Takes the widgets of "Nastavenia"; throws std::runtime_error with the building step's
    // text when one is missing. storeReplaced runs after a new store was opened.
    SettingsDialog(const Glib::RefPtr<Gnome::Glade::Xml>& xml, Kramo::KramoSettings& settings,
                   Kramo::KramoRegister& kramoRegister, std::function<void()> storeReplaced);
    ~SettingsDialog();

    // Shows the settings and, when the user answers OK, confirms them.
    void OpenSettingsDialog();
    void ConfirmSettingsDialog();

    // Tests answer the dialog instead of a user.
    void SetRunner(Runner runner) { runner_ = std::move(runner); }

    Gtk::Entry& SaleNameEntry() { return *saleName_; }
    ComboBoxTextDer& FontSizeCombo() { return *fontSize_; }
    Gtk::RadioButton& LocalFilesButton() { return *localFiles_; }
    Gtk::RadioButton& DatabaseButton() { return *database_; }
    Gtk::Entry& AddressEntry() { return *address_; }
    Gtk::Entry& UserEntry() { return *user_; }
    Gtk::Entry& PasswordEntry() { return *password_; }
    Gtk::Entry& DatabaseNameEntry() { return *databaseName_; }
    Gtk::Entry& PortEntry() { return *port_; }
    ComboBoxTextDer& LabelLayoutCombo() { return *labelLayout_; }
    Gtk::SpinButton& FirstFreeLabelSpin() { return *firstFreeLabel_; }
    ComboBoxTextDer& ReceiptPageCombo() { return *receiptPage_; }
    ComboBoxTextDer& PrintReceiptsCombo() { return *printReceipts_; }
    Gtk::Entry& ReceiptPrinterEntry() { return *receiptPrinter_; }
    Gtk::Entry& DeskNameEntry() { return *deskName_; }
    Gtk::Entry& BazaarFolderEntry() { return *bazaarFolder_; }
    Gtk::Entry& BackupFolderEntry() { return *backupFolder_; }
    Gtk::SpinButton& BackupMinutesSpin() { return *backupMinutes_; }
    Gtk::SpinButton& BackupKeepSpin() { return *backupKeep_; }

  private:
    void FillFontSizes();
    // The label sheet, the receipts' paper and their printing.
    void FillDocumentChoices();
    // The bazaar folder of an installed program and the automatic backups.
    void FillFolders();
    void ReadWidgets();
    void ReadFolders();

    Kramo::KramoSettings& settings_;
    Kramo::KramoRegister& kramoRegister_;
    std::function<void()> storeReplaced_;
    Runner runner_;

    // The top-level of the description belongs to whoever took it.
    std::unique_ptr<Gtk::Dialog> dialog_;
    Gtk::Entry* saleName_ = nullptr;
    ComboBoxTextDer* fontSize_ = nullptr;
    Gtk::RadioButton* localFiles_ = nullptr;
    Gtk::RadioButton* database_ = nullptr;
    Gtk::Entry* address_ = nullptr;
    Gtk::Entry* user_ = nullptr;
    Gtk::Entry* password_ = nullptr;
    Gtk::Entry* databaseName_ = nullptr;
    Gtk::Entry* port_ = nullptr;
    ComboBoxTextDer* labelLayout_ = nullptr;
    Gtk::SpinButton* firstFreeLabel_ = nullptr;
    ComboBoxTextDer* receiptPage_ = nullptr;
    ComboBoxTextDer* printReceipts_ = nullptr;
    Gtk::Entry* receiptPrinter_ = nullptr;
    Gtk::Entry* deskName_ = nullptr;
    Gtk::Entry* bazaarFolder_ = nullptr;
    Gtk::Entry* backupFolder_ = nullptr;
    Gtk::SpinButton* backupMinutes_ = nullptr;
    Gtk::SpinButton* backupKeep_ = nullptr;
};

}  // namespace KramoDialogs
