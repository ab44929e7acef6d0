#include "UserInterface.h"

#include <gtkmm/button.h>
#include <gtkmm/main.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/settings.h>
#include <gtkmm/window.h>
#include <pangomm/fontdescription.h>

#include <optional>
#include <stdexcept>
#include <utility>

#include "support/Translation.h"
#include "ui/GuardedAction.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

std::string LoadFailureText(const char* topLevel) {
    return std::string("ZelvarDialogsGtkmm::Init() error loading glade item from xml. '") +
           topLevel + "'";
}

Glib::RefPtr<Gnome::Glade::Xml> LoadTopLevel(const std::string& gladeFile, const char* name,
                                             std::string& failure) {
    try {
        return Gnome::Glade::Xml::create(gladeFile, name, Kramo::TranslationDomain);
    } catch (const Gnome::Glade::XmlError&) {
        failure = LoadFailureText(name);  // a later failure replaces an earlier one
        return {};
    }
}

}  // namespace

UserInterface::UserInterface(Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister,
                             Kramo::ItemSearch& itemSearch)
    : settings_(settings),
      kramoRegister_(kramoRegister),
      itemSearch_(itemSearch),
      fileFinder_(Kramo::FileFinder::Acquire()),
      userMessagesScope_(userMessages_) {}

UserInterface::~UserInterface() {
    userMessages_.SetMainWindow(nullptr);
}

bool UserInterface::SetupDialogs() {
    try {
        BuildWindows(settings_.GladeFile());
        return true;
    } catch (const std::runtime_error& failure) {
        Kramo::ShowErrorBox(failure.what(), _("Error initing dialog."));
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
    TakeLaterWindows();
    mainWindow_ = std::make_unique<MainWindow>(topLevels_.main, topLevels_.menu, kramoRegister_,
                                               settings_, filling_);
    userMessages_.SetMainWindow(&mainWindow_->Window());
    BuildDialogs();
    BuildPromptAndSettings(gladeFile);
    ConnectMainWindow();
    ConnectImports();
    ConnectOrganiserCommands();
    otherDesks_ = std::make_unique<OtherDesksWatch>(kramoRegister_, itemSearch_, filling_,
                                                    *checkout_, *mainWindow_);
    automaticBackup_ = std::make_unique<AutomaticBackup>(settings_);
}

void UserInterface::TakeLaterWindows() {
    Gtk::Window* window = nullptr;
    WidgetLookup(topLevels_.main, "Dialog file is corrupt [windows].")
        .Get("Register", window)
        .Check();
    const auto take = [](const Glib::RefPtr<Gnome::Glade::Xml>& xml, const char* name,
                         std::unique_ptr<Gtk::Window>& owner) {
        Gtk::Window* taken = nullptr;
        WidgetLookup(xml, "Dialog file is corrupt [windows].").Get(name, taken).Check();
        owner.reset(taken);
    };
    take(topLevels_.checkout, "Pokladna", laterWindows_.checkout);
    take(topLevels_.seller, "Predajca", laterWindows_.seller);
    take(topLevels_.item, "Tovar", laterWindows_.item);
}

void UserInterface::BuildDialogs() {
    checkout_ = std::make_unique<CheckoutWindow>(*laterWindows_.checkout, topLevels_.checkout,
                                                 kramoRegister_, settings_, *mainWindow_,
                                                 itemSearch_, filling_);
    itemDialog_ = std::make_unique<ItemDialog>(*laterWindows_.item, topLevels_.item, kramoRegister_,
                                               settings_, *mainWindow_);
    sellerDialog_ = std::make_unique<SellerDialog>(*laterWindows_.seller, topLevels_.seller,
                                                   kramoRegister_, *mainWindow_, *itemDialog_);
    sellerStates_ = std::make_unique<SellerStateChanger>(kramoRegister_, *mainWindow_, filling_);
}

// The text prompt and the settings dialog, the last steps of building.
void UserInterface::BuildPromptAndSettings(const std::string& gladeFile) {
    userMessages_.SetPrompt(std::make_unique<TextPrompt>(gladeFile));

    std::string failure;
    topLevels_.settings = LoadTopLevel(gladeFile, "Nastavenia", failure);
    if (!failure.empty()) {
        throw std::runtime_error(failure);
    }
    settingsDialog_ = std::make_unique<SettingsDialog>(topLevels_.settings, settings_,
                                                       kramoRegister_, [this] { LoadSellers(); });
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
    Gtk::MenuItem* cashUp = nullptr;
    WidgetLookup(topLevels_.menu, "Dialog file is corrupt [register 2].")
        .Get("menuItemCashUp", cashUp)
        .Check();
    cashUp->signal_activate().connect(Guarded([this] { documentCommands_->SaveCashUp(); }));
    Gtk::MenuItem* sheetTemplate = nullptr;
    topLevels_.menu->get_widget("menuItemSheetTemplate", sheetTemplate);
    sheetTemplate->signal_activate().connect(
        Guarded([this] { documentCommands_->SaveSheetTemplate(); }));
    Gtk::MenuItem* backup = nullptr;
    WidgetLookup(topLevels_.menu, "Dialog file is corrupt [register 2].")
        .Get("menuItemBackup", backup)
        .Check();
    backup->signal_activate().connect(Guarded([this] { documentCommands_->SaveBackup(); }));
    const std::pair<const char*, std::optional<int32_t>> labelCommands[] = {
        {"menuItemLabelsAll", std::nullopt},
        {"menuItemLabelsNotSelling", Kramo::NotSelling},
        {"menuItemLabelsSelling", Kramo::Selling},
    };
    for (const auto& [id, sellerState] : labelCommands) {
        Gtk::MenuItem* labels = nullptr;
        topLevels_.menu->get_widget(id, labels);
        labels->signal_activate().connect(
            Guarded([this, state = sellerState] { documentCommands_->PrintLabels(state); }));
    }
}

void UserInterface::ConnectMainWindow() {
    MainWindow& main = *mainWindow_;
    main.SignalSellersRefilled().connect([this] { checkout_->RefillSellerCombo(); });
    main.CheckoutButton().signal_clicked().connect(Guarded([this] { checkout_->Open(); }));
    main.AddSellerButton().signal_clicked().connect(
        Guarded([this] { sellerDialog_->OpenSellerDialog(-1); }));
    main.UpdateSellerButton().signal_clicked().connect(Guarded([this] {
        if (mainWindow_->CurrentSellerId() != -1) {
            sellerDialog_->OpenSellerDialog(mainWindow_->CurrentSellerId());
        }
    }));
    main.AddItemButton().signal_clicked().connect(Guarded([this] { AddItemToCurrentSeller(); }));
    main.ModifyItemButton().signal_clicked().connect(Guarded([this] { ModifySelectedItem(); }));
}

void UserInterface::AddItemToCurrentSeller() {
    if (mainWindow_->CurrentSellerId() != -1) {
        itemDialog_->RegisterStartDialogEditProduct(-1);
    }
}

void UserInterface::ModifySelectedItem() {
    if (mainWindow_->CurrentSellerId() == -1) {
        return;
    }
    const std::vector<int> ids = mainWindow_->RegisterGetSelectedItemIds();
    if (ids.size() == 1) {
        itemDialog_->RegisterStartDialogEditProduct(ids.front());
    }
}

void UserInterface::ConnectImports() {
    importDialogs_ = std::make_unique<ImportDialogs>(settings_, kramoRegister_, *mainWindow_);
    Gtk::Button* single = nullptr;
    Gtk::Button* folder = nullptr;
    topLevels_.main->get_widget("button import seller", single);
    topLevels_.main->get_widget("button import multi seller", folder);
    single->signal_clicked().connect(Guarded([this] { importDialogs_->ImportSingleSeller(); }));
    folder->signal_clicked().connect(Guarded([this] { importDialogs_->ImportMultiSellers(); }));
    Gtk::MenuItem* lastReport = nullptr;
    WidgetLookup(topLevels_.menu, "Dialog file is corrupt [register 2].")
        .Get("menuItemLastImportReport", lastReport)
        .Check();
    // Nothing to show before the first import of this run.
    lastReport->set_sensitive(false);
    importDialogs_->SetReportMadeHandler([lastReport] { lastReport->set_sensitive(true); });
    lastReport->signal_activate().connect(Guarded([this] { importDialogs_->ShowLastReport(); }));
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
    UseFontSize(size);
}

void UserInterface::UseFontSize(int size) {
    // The desktop's font at the chosen size: the family stays the user's.
    const Glib::RefPtr<Gtk::Settings> desktop = Gtk::Settings::get_default();
    Pango::FontDescription font(desktop->property_gtk_font_name().get_value());
    font.set_size(size * Pango::SCALE);
    desktop->property_gtk_font_name() = font.to_string();
}

}  // namespace KramoDialogs
