#pragma once

#include <libglademm/xml.h>

#include <memory>
#include <string>

#include "register/KramoRegister.h"
#include "register/UserInterfaceBase.h"
#include "settings/KramoSettings.h"
#include "support/FileFinder.h"
#include "support/UserMessages.h"
#include "ui/DocumentCommands.h"
#include "ui/FillingFlag.h"
#include "ui/GtkUserMessages.h"
#include "ui/ImportDialogs.h"
#include "ui/MainWindow.h"
#include "ui/SettingsDialog.h"

namespace Gtk {
class Window;
}  // namespace Gtk

namespace KramoDialogs {

// Every window and dialog of the program, built from the window description.
class UserInterface : public Kramo::UserInterfaceBase {
  public:
    // Touches no widget: the toolkit starts after this object is made.
    UserInterface(Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister);
    ~UserInterface() override;

    bool SetupDialogs() override;
    void LoadSellers() override;
    void Run() override;
    void InstallFontStyle(int size) override;

    // The building steps; throws std::runtime_error with the text of the first that failed.
    void BuildWindows(const std::string& gladeFile);

    MainWindow& Main() { return *mainWindow_; }
    ComboBoxTextDer& CheckoutSellerCombo() { return *checkoutSellerCombo_; }
    ImportDialogs& Imports() { return *importDialogs_; }
    SettingsDialog& SettingsWindow() { return *settingsDialog_; }
    DocumentCommands& Documents() { return *documentCommands_; }
    // The main window's object tree, for the windows built on it later and for tests.
    const Glib::RefPtr<Gnome::Glade::Xml>& MainDescription() const { return topLevels_.main; }
    const Glib::RefPtr<Gnome::Glade::Xml>& MenuDescription() const { return topLevels_.menu; }
    FillingFlag& Filling() { return filling_; }

  private:
    struct TopLevels {
        Glib::RefPtr<Gnome::Glade::Xml> main;
        Glib::RefPtr<Gnome::Glade::Xml> checkout;
        Glib::RefPtr<Gnome::Glade::Xml> seller;
        Glib::RefPtr<Gnome::Glade::Xml> item;
        Glib::RefPtr<Gnome::Glade::Xml> menu;
        Glib::RefPtr<Gnome::Glade::Xml> settings;
    };
    // The windows whose behaviour comes with their own classes; held so they are destroyed.
    struct LaterWindows {
        std::unique_ptr<Gtk::Window> checkout;
        std::unique_ptr<Gtk::Window> seller;
        std::unique_ptr<Gtk::Window> item;
    };

    static TopLevels LoadTopLevels(const std::string& gladeFile);
    void CheckLaterWindows(const std::string& gladeFile);
    void RefillCheckoutSellerCombo();
    void ConnectImports();
    void ConnectOrganiserCommands();

    Kramo::KramoSettings& settings_;
    Kramo::KramoRegister& kramoRegister_;
    std::shared_ptr<Kramo::FileFinder> fileFinder_;
    GtkUserMessages userMessages_;
    Kramo::UserMessagesScope userMessagesScope_;
    FillingFlag filling_;
    TopLevels topLevels_;
    LaterWindows laterWindows_;
    std::unique_ptr<MainWindow> mainWindow_;
    ComboBoxTextDer* checkoutSellerCombo_ = nullptr;
    std::unique_ptr<ImportDialogs> importDialogs_;
    std::unique_ptr<SettingsDialog> settingsDialog_;
    std::unique_ptr<DocumentCommands> documentCommands_;
};

}  // namespace KramoDialogs
