#include "UserInterface.h"

#include <gtkmm/button.h>
#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/main.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/rc.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <stdexcept>

#include "support/FormatStream.h"
#include "ui/GuardedAction.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

constexpr const char* GladeFileName = "kramo.glade";

std::string LoadFailureText(const char* topLevel) {
    return std::string("ZelvarDialogsGtkmm::Init() error loading glade item from xml. '") +
           topLevel + "'";
}

Glib::RefPtr<Gnome::Glade::Xml> LoadTopLevel(const std::string& gladeFile, const char* name,
                                             std::string& failure) {
    try {
        return Gnome::Glade::Xml::create(gladeFile, name);
    } catch (const Gnome::Glade::XmlError&) {
        failure = LoadFailureText(name);  // a later failure replaces an earlier one
        return {};
    }
}

}  // namespace

UserInterface::UserInterface(Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister)
    : settings_(settings),
      kramoRegister_(kramoRegister),
      fileFinder_(Kramo::FileFinder::Acquire()),
      userMessagesScope_(userMessages_) {}

UserInterface::~UserInterface() = default;

bool UserInterface::SetupDialogs() {
    try {
        BuildWindows(settings_.DataDirectory() + GladeFileName);
        return true;
    } catch (const std::runtime_error& failure) {
        Kramo::ShowErrorBox(failure.what(), "Error initing dialog.");
        return false;
    }
}

UserInterface::TopLevels UserInterface::LoadTopLevels(const std::string& gladeFile) {
    std::string failure;
    TopLevels topLevels;
    topLevels.main = LoadTopLevel(gladeFile, "Register", failure);
    topLevels.checkout = LoadTopLevel(gladeFile, "Pokladna", failure);
    topLevels.seller = LoadTopLevel(gladeFile, "Predajca", failure);
    topLevels.item = LoadTopLevel(gladeFile, "Tovar", failure);
    topLevels.menu = LoadTopLevel(gladeFile, "menuRegisterOtherActions", failure);
    if (!failure.empty()) {
        throw std::runtime_error(failure);
    }
    return topLevels;
}

void UserInterface::BuildWindows(const std::string& gladeFile) {
    topLevels_ = LoadTopLevels(gladeFile);
    Gtk::Window* window = nullptr;
    Gtk::Window* checkout = nullptr;
    Gtk::Window* seller = nullptr;
    Gtk::Window* item = nullptr;
    WidgetLookup(topLevels_.main, "Dialog file is corrupt [windows].")
        .Get("Register", window)
        .Check();
    WidgetLookup(topLevels_.checkout, "Dialog file is corrupt [windows].")
        .Get("Pokladna", checkout)
        .Check();
    laterWindows_.checkout.reset(checkout);
    WidgetLookup(topLevels_.seller, "Dialog file is corrupt [windows].")
        .Get("Predajca", seller)
        .Check();
    laterWindows_.seller.reset(seller);
    WidgetLookup(topLevels_.item, "Dialog file is corrupt [windows].").Get("Tovar", item).Check();
    laterWindows_.item.reset(item);

    mainWindow_ = std::make_unique<MainWindow>(topLevels_.main, topLevels_.menu, kramoRegister_,
                                               settings_, filling_);
    CheckLaterWindows(gladeFile);
    mainWindow_->SignalSellersRefilled().connect([this] { RefillCheckoutSellerCombo(); });
    ConnectImports();
    ConnectOrganiserCommands();
}

// The checkout and the item and seller dialogs get their behaviour later; their widgets must
// be there already, so a broken description fails at start. The settings dialog takes its own.
void UserInterface::CheckLaterWindows(const std::string& gladeFile) {
    Gtk::Window* window = nullptr;
    Gtk::TreeView* view = nullptr;
    Gtk::Entry* entry = nullptr;
    ComboBoxTextDer* combo = nullptr;
    Gtk::ComboBoxEntry* comboEntry = nullptr;
    Gtk::Label* label = nullptr;
    Gtk::Button* button = nullptr;

    WidgetLookup(topLevels_.checkout, "Dialog file is corrupt [2].")
        .Get("Pokladna", window)
        .Check();
    WidgetLookup(topLevels_.checkout, "Dialog file is corrupt [4].")
        .Get("treeview cashout items", view)
        .Get("entry lookup seller", entry)
        .GetDerived("combo lookup seller", checkoutSellerCombo_)
        .Get("entry lookup item", entry)
        .GetDerived("combo lookup item", combo)
        .Get("label item price", label)
        .Get("button cashout add item", button)
        .Get("button cashout remove item", button)
        .Get("label sum", label)
        .Get("label cashout finished", button)
        .Get("button register", button)
        .Get("comboboxentry_search", comboEntry)
        .Get("search_found_text", label)
        .Check();
    WidgetLookup(topLevels_.item, "Dialog file is corrupt [5].")
        .Get("itemName", entry)
        .Get("itemNumber", entry)
        .Get("itemPrice", entry)
        .GetDerived("itemCategoryCombo", combo)
        .GetDerived("itemStatus_combobox", combo)
        .Get("itemButton_ok", button)
        .Get("itemButton_cancel", button)
        .Check();
    WidgetLookup(topLevels_.seller, "Dialog file is corrupt [6=Seller edit].")
        .Get("sellerName", entry)
        .Get("sellerCode", entry)
        .Get("sellerNote", entry)
        .GetDerived("sellerCategory", combo)
        .Get("sellerButton_ok", button)
        .Get("sellerButton_cancel", button)
        .Check();

    userMessages_.SetPrompt(std::make_unique<TextPrompt>(gladeFile));

    std::string failure;
    topLevels_.settings = LoadTopLevel(gladeFile, "Nastavenia", failure);
    if (!failure.empty()) {
        throw std::runtime_error(failure);
    }
    settingsDialog_ = std::make_unique<SettingsDialog>(
        topLevels_.settings, settings_, kramoRegister_, *this, [this] { LoadSellers(); });
}

void UserInterface::ConnectImports() {
    importDialogs_ = std::make_unique<ImportDialogs>(settings_, kramoRegister_, *mainWindow_);
    Gtk::Button* single = nullptr;
    Gtk::Button* folder = nullptr;
    topLevels_.main->get_widget("button import seller", single);
    topLevels_.main->get_widget("button import multi seller", folder);
    single->signal_clicked().connect(Guarded([this] { importDialogs_->ImportSingleSeller(); }));
    folder->signal_clicked().connect(Guarded([this] { importDialogs_->ImportMultiSellers(); }));
}

void UserInterface::ConnectOrganiserCommands() {
    documentCommands_ = std::make_unique<DocumentCommands>(settings_, kramoRegister_, *mainWindow_);
    Gtk::MenuItem* settings = nullptr;
    Gtk::MenuItem* overview = nullptr;
    Gtk::MenuItem* statistics = nullptr;
    topLevels_.menu->get_widget("menuItemSettings", settings);
    topLevels_.menu->get_widget("menuItemSaveSellerOverview", overview);
    topLevels_.menu->get_widget("menuitemStats", statistics);
    // Activation comes from the mouse and from the keyboard alike.
    settings->signal_activate().connect(Guarded([this] { settingsDialog_->OpenSettingsDialog(); }));
    overview->signal_activate().connect(
        Guarded([this] { documentCommands_->SaveSellerOverview(); }));
    statistics->signal_activate().connect(Guarded([this] { documentCommands_->SaveStatistics(); }));
}

// The checkout chooses among the same sellers, in the same order, as the main window.
void UserInterface::RefillCheckoutSellerCombo() {
    FillingFlag::Scope filling(filling_);
    checkoutSellerCombo_->ClearItems();
    for (const std::string& text : mainWindow_->Sellers().ComboTexts()) {
        checkoutSellerCombo_->AppendText(text);
    }
}

void UserInterface::LoadSellers() {
    FillingFlag::Scope filling(filling_);
    mainWindow_->ReloadSellerList();
    mainWindow_->ShowSellerAt(0);
}

void UserInterface::Run() {
    Gtk::Main::run(mainWindow_->Window());
}

void UserInterface::InstallFontStyle(int size) {
    Gtk::RC::parse_string((Kramo::FormatStream("style \"my-style\" { font_name = \"Mono %i\" } "
                                               "class \"*\" style \"my-style\"")
                           << size)
                              .str());
}

}  // namespace KramoDialogs
