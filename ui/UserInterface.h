#pragma once

#include <libglademm/xml.h>

#include <memory>
#include <string>

#include "core/ItemSearch.h"
#include "register/KramoRegister.h"
#include "register/UserInterfaceBase.h"
#include "settings/KramoSettings.h"
#include "support/FileFinder.h"
#include "support/UserMessages.h"
#include "ui/AutomaticBackup.h"
#include "ui/CheckoutWindow.h"
#include "ui/DocumentCommands.h"
#include "ui/FillingFlag.h"
#include "ui/GtkUserMessages.h"
#include "ui/ImportDialogs.h"
#include "ui/ItemDialog.h"
#include "ui/MainWindow.h"
#include "ui/OtherDesksWatch.h"
#include "ui/SellerDialog.h"
#include "ui/SellerStateChanger.h"
#include "ui/SettingsDialog.h"

namespace Gtk {
class Window;
}  // namespace Gtk

namespace KramoDialogs {

// Every window and dialog of the program, built from the window description.
class UserInterface : public Kramo::UserInterfaceBase {
  public:
    // Touches no widget: the toolkit starts after this object is made.
    UserInterface(Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister,
                  Kramo::ItemSearch& itemSearch);
    ~UserInterface() override;

    bool SetupDialogs() override;
    void LoadSellers() override;
    void Run() override;
    void InstallFontStyle(int size) override;
    // Every widget uses the desktop's font family at this size (in points).
    static void UseFontSize(int size);

    // The building steps; throws std::runtime_error with the text of the first that failed.
    void BuildWindows(const std::string& gladeFile);

    MainWindow& Main() { return *mainWindow_; }
    ComboBoxTextDer& CheckoutSellerCombo() { return checkout_->SellerCombo(); }
    CheckoutWindow& Checkout() { return *checkout_; }
    ItemDialog& Items() { return *itemDialog_; }
    SellerDialog& Sellers() { return *sellerDialog_; }
    ImportDialogs& Imports() { return *importDialogs_; }
    SettingsDialog& SettingsWindow() { return *settingsDialog_; }
    DocumentCommands& Documents() { return *documentCommands_; }
    AutomaticBackup& Backups() { return *automaticBackup_; }
    // The main window's object tree, for the windows built on it later and for tests.
    const Glib::RefPtr<Gnome::Glade::Xml>& MainDescription() const { return topLevels_.main; }
    // The menu of other actions, for tests that choose its items.
    const Glib::RefPtr<Gnome::Glade::Xml>& MenuDescription() const { return topLevels_.menu; }
    FillingFlag& Filling() { return filling_; }
    OtherDesksWatch& OtherDesks() { return *otherDesks_; }

  private:
    struct TopLevels {
        Glib::RefPtr<Gnome::Glade::Xml> main;
        Glib::RefPtr<Gnome::Glade::Xml> checkout;
        Glib::RefPtr<Gnome::Glade::Xml> seller;
        Glib::RefPtr<Gnome::Glade::Xml> item;
        Glib::RefPtr<Gnome::Glade::Xml> menu;
        Glib::RefPtr<Gnome::Glade::Xml> settings;
    };
    // The top-level windows besides the main window, owned here for the classes that run them.
    struct LaterWindows {
        std::unique_ptr<Gtk::Window> checkout;
        std::unique_ptr<Gtk::Window> seller;
        std::unique_ptr<Gtk::Window> item;
    };

    static TopLevels LoadTopLevels(const std::string& gladeFile);
    void TakeLaterWindows();
    void BuildDialogs();
    void BuildPromptAndSettings(const std::string& gladeFile);
    void ConnectMainWindow();
    void ConnectImports();
    void ConnectOrganiserCommands();
    // The item dialog of the one selected item row; nothing for no or several rows.
    void ModifySelectedItem();
    // A new item needs a seller to belong to.
    void AddItemToCurrentSeller();

    Kramo::KramoSettings& settings_;
    Kramo::KramoRegister& kramoRegister_;
    Kramo::ItemSearch& itemSearch_;
    std::shared_ptr<Kramo::FileFinder> fileFinder_;
    GtkUserMessages userMessages_;
    Kramo::UserMessagesScope userMessagesScope_;
    FillingFlag filling_;
    TopLevels topLevels_;
    LaterWindows laterWindows_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<CheckoutWindow> checkout_;
    std::unique_ptr<ItemDialog> itemDialog_;
    std::unique_ptr<SellerDialog> sellerDialog_;
    std::unique_ptr<SellerStateChanger> sellerStates_;
    std::unique_ptr<ImportDialogs> importDialogs_;
    std::unique_ptr<SettingsDialog> settingsDialog_;
    std::unique_ptr<DocumentCommands> documentCommands_;
    std::unique_ptr<OtherDesksWatch> otherDesks_;
    std::unique_ptr<AutomaticBackup> automaticBackup_;
};

}  // namespace KramoDialogs
