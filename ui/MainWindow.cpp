#include "MainWindow.h"

#include <glibmm/main.h>
#include <gtkmm/button.h>
#include <gtkmm/cellrendererpixbuf.h>
#include <gtkmm/cellrenderertext.h>
#include <gtkmm/cellrenderertoggle.h>
#include <gtkmm/entry.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/label.h>
#include <gtkmm/menu.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/radiobutton.h>
#include <gtkmm/stock.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "core/ItemStatus.h"
#include "register/ConcurrentEdits.h"
#include "register/ItemLabelsDocument.h"
#include "register/ItemMarking.h"
#include "register/SellerRemoval.h"
#include "register/SellerStatementDocument.h"
#include "support/DocumentOpener.h"
#include "support/FormatText.h"
#include "support/Translation.h"
#include "support/UserMessages.h"
#include "ui/FieldLook.h"
#include "ui/GuardedAction.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

using Kramo::Item;
using Kramo::ItemMarking;
using Kramo::ItemStatusNames;

}  // namespace

MainWindow::MainWindow(const Glib::RefPtr<Gnome::Glade::Xml>& registerXml,
                       const Glib::RefPtr<Gnome::Glade::Xml>& menuXml,
                       Kramo::KramoRegister& kramoRegister, const Kramo::KramoSettings& settings,
                       FillingFlag& filling)
    : kramoRegister_(kramoRegister), settings_(settings), filling_(filling) {
    TakeWidgets(registerXml, menuXml);
    findField_ = std::make_unique<ScanField>(*findEntry_, filling_);
    sellerCombo_->LimitWidth(20);
    // In the order of ScanDesk.
    for (const char* mode : {N_("Hľadať"), N_("Prebrať"), N_("Vrátiť")}) {
        scanModeCombo_->AppendText(_(mode));
    }
    scanModeCombo_->set_active(static_cast<int>(Kramo::ScanDesk::Find));
    window_->maximize();
    BuildItemView();
    ConnectSignals();
}

MainWindow::~MainWindow() {
    noSellerNotice_.disconnect();
}

void MainWindow::TakeWidgets(const Glib::RefPtr<Gnome::Glade::Xml>& registerXml,
                             const Glib::RefPtr<Gnome::Glade::Xml>& menuXml) {
    Gtk::Window* window = nullptr;
    WidgetLookup(registerXml, "Dialog file is corrupt [windows].").Get("Register", window).Check();
    window_.reset(window);
    WidgetLookup(registerXml, "Dialog file is corrupt [register 1].")
        .GetDerived("combobox seller", sellerCombo_)
        .Get("entry_find_seller", findEntry_)
        .GetDerived("combo_scan_mode", scanModeCombo_)
        .Get("label_scan_result", scanResultLabel_)
        .Get("button import seller", importSellerButton_)
        .Get("button import multi seller", importFolderButton_)
        .Get("button add seller", addSellerButton_)
        .Get("button update seller", updateSellerButton_)
        .Get("treeview items", itemView_)
        .Get("button add item", addItemButton_)
        .Get("button modify item", modifyItemButton_)
        .Get("button remove item", removeItemButton_)
        .Check();
    WidgetLookup(registerXml, "Dialog file is corrupt [register 2].")
        .Get("button toggle accepted", toggleAcceptedButton_)
        .Get("button calc repayment", statementButton_)
        .Get("button labels", labelsButton_)
        .Get("button remove seller", removeSellerButton_)
        .Get("label seller type", sellerTypeLabel_)
        .Get("label seller note", sellerNoteLabel_)
        .Get("button cashout", checkoutButton_)
        .Get("button_other_actions", otherActionsButton_)
        .Check();
    Gtk::Menu* menu = nullptr;
    WidgetLookup(menuXml, "Dialog file is corrupt [register 2].")
        .Get("menuRegisterOtherActions", menu)
        .Get("menuItemSettings", settingsMenuItem_)
        .Get("menuItemSaveSellerOverview", overviewMenuItem_)
        .Get("menuitemStats", statisticsMenuItem_)
        .Check();
    otherActionsMenu_.reset(menu);
    WidgetLookup(registerXml, "Dialog file is corrupt [register 3].")
        .Get("radiobuttonSellerStateImported", notSellingButton_)
        .Get("radiobuttonSellerStateSelling", sellingButton_)
        .Get("radiobuttonSellerStateReturned", handedBackButton_)
        .Check();
}

void MainWindow::BuildItemView() {
    itemRows_ = Gtk::ListStore::create(columns_);
    itemView_->set_model(itemRows_);
    itemView_->get_selection()->set_mode(Gtk::SELECTION_MULTIPLE);

    itemView_->append_column("#", columns_.number);

    Gtk::TreeViewColumn* state = Gtk::manage(new Gtk::TreeViewColumn(_("stav")));
    state->pack_start(columns_.statePicture, false);
    state->pack_start(columns_.state, true);
    itemView_->append_column(*state);

    Gtk::CellRendererToggle* accepted = Gtk::manage(new Gtk::CellRendererToggle());
    accepted->set_activatable(true);
    accepted->signal_toggled().connect(
        Guarded([this](const Glib::ustring& path) { ToggleItem(path); }));
    Gtk::TreeViewColumn* acceptedColumn = Gtk::manage(new Gtk::TreeViewColumn(_("prebrate")));
    acceptedColumn->pack_start(*accepted, false);
    acceptedColumn->add_attribute(accepted->property_active(), columns_.accepted);
    itemView_->append_column(*acceptedColumn);

    itemView_->append_column(_("nazov"), columns_.name);
    itemView_->append_column(_("cena"), columns_.price);
    itemView_->get_column_cell_renderer(4)->property_xalign() = 1.0;  // amounts align right
    itemView_->append_column(_("kategoria"), columns_.category);

    ItemsColumns::ArrangeColumns(*itemView_, 3);
}

void MainWindow::ConnectSignals() {
    sellerCombo_->signal_changed().connect(Guarded([this] { OnSellerChosen(); }));
    findEntry_->signal_changed().connect(Guarded([this] { OnFindTextChanged(); }));
    findEntry_->signal_activate().connect(Guarded([this] { ScanInFindField(); }));
    scanModeCombo_->signal_changed().connect(Guarded([this] { OnScanModeChosen(); }));
    removeItemButton_->signal_clicked().connect(Guarded([this] { RemoveSelectedItems(); }));
    removeSellerButton_->signal_clicked().connect(Guarded([this] { RemoveShownSeller(); }));
    toggleAcceptedButton_->signal_clicked().connect(Guarded([this] { RemarkAllItems(); }));
    statementButton_->signal_clicked().connect(Guarded([this] { PrintStatement(); }));
    labelsButton_->signal_clicked().connect(Guarded([this] { PrintLabels(); }));
    otherActionsButton_->signal_clicked().connect(Guarded([this] { ShowOtherActions(); }));
}

Gtk::RadioButton& MainWindow::StateButton(int32_t status) {
    switch (status) {
        case Kramo::Selling:
            return *sellingButton_;
        case Kramo::HandedBack:
            return *handedBackButton_;
        default:
            return *notSellingButton_;
    }
}

void MainWindow::ReloadSellerList() {
    sellers_.Reload(Store().GetSellers());
    RefillSellerCombos();
}

void MainWindow::RefillSellerCombos() {
    FillingFlag::Scope filling(filling_);
    sellerCombo_->ClearItems();
    for (const std::string& text : sellers_.ComboTexts()) {
        sellerCombo_->AppendText(text);
    }
    sellersRefilled_.emit();
}

void MainWindow::OnSellerChosen() {
    if (filling_.IsSet()) {
        return;
    }
    const int row = sellerCombo_->get_active_row_number();
    if (row < 0) {
        return;
    }
    if (static_cast<std::size_t>(row) >= sellers_.Size()) {
        ReloadSellerList();
        return;
    }
    ShowSellerAt(static_cast<std::size_t>(row));
}

void MainWindow::OnFindTextChanged() {
    if (filling_.IsSet() || sellers_.Empty()) {
        return;
    }
    const std::string text = findEntry_->get_text();
    if (const auto position = sellers_.PositionOfCode(text)) {
        ShowSellerAt(*position);
        return;
    }
    sellers_.ApplyFindText(text);
    RefillSellerCombos();
    ShowSellerAt(0);
}

Kramo::ScanDesk MainWindow::ScanMode() const {
    const int row = scanModeCombo_->get_active_row_number();
    return row < 0 ? Kramo::ScanDesk::Find : static_cast<Kramo::ScanDesk>(row);
}

// The desk's next scan goes into the field at once.
void MainWindow::OnScanModeChosen() {
    ShowScanResult("", false);
    findEntry_->grab_focus();
}

void MainWindow::ScanInFindField() {
    const std::string text = findEntry_->get_text();
    const Kramo::ScanDesk desk = ScanMode();
    if (!ItemMarking::IsScan(desk, sellers_, text)) {
        ShowScanResult("", false);
        return;
    }
    findEntry_->grab_focus();
    findField_->SelectForNextScan();
    const ItemMarking::DeskScan scan = ItemMarking::ScanAtDesk(Store(), sellers_, desk, text);
    if (scan.outcome.item) {
        ShowSeller(scan.seller);
        SelectItemRow(scan.outcome.item->NUMBER);
    }
    const bool refused = scan.outcome.refusal != Kramo::ScanRefusal::None;
    ShowScanResult(scan.report, refused);
    if (refused) {
        FieldLook::Beep(*window_);
    }
}

void MainWindow::SelectItemRow(int number) {
    const Glib::ustring shown = Kramo::FormatText("%i", number);
    const Glib::RefPtr<Gtk::TreeSelection> selection = itemView_->get_selection();
    selection->unselect_all();
    for (const Gtk::TreeModel::Row& row : itemRows_->children()) {
        if (Glib::ustring(row[columns_.number]) == shown) {
            const Gtk::TreeModel::Path path = itemRows_->get_path(row);
            selection->select(path);
            itemView_->scroll_to_row(path);
            return;
        }
    }
}

void MainWindow::ShowScanResult(const std::string& text, bool refused) {
    scanResultLabel_->set_text(text);
    scanResultLabel_->set_tooltip_text(text);  // the whole line, when it is cut
    FieldLook::Label(*scanResultLabel_, refused);
}

void MainWindow::ShowSellerAt(std::size_t position) {
    if (position < sellers_.Size()) {
        ShowSeller(sellers_.At(position).seller);
        return;
    }
    ShowNoSeller();
    TellThereIsNoSeller();
}

// At the start the list is filled before the window is on screen: the notice waits for the
// window and then opens over it, once the window has been drawn.
void MainWindow::TellThereIsNoSeller() {
    if (window_->get_mapped()) {
        Kramo::ShowInfoBox(_("Neexistuje žiaden predajca"), "");
        return;
    }
    if (noSellerNotice_.connected()) {
        return;
    }
    noSellerNotice_ = window_->signal_map_event().connect([this](GdkEventAny*) {
        noSellerNotice_.disconnect();
        noSellerNotice_ = Glib::signal_idle().connect([this] {
            Kramo::ShowInfoBox(_("Neexistuje žiaden predajca"), "");
            return false;
        });
        return false;
    });
}

void MainWindow::ShowCurrentSellerAgain() {
    if (const auto position = sellers_.PositionOfId(currentSellerId_)) {
        ShowSeller(sellers_.At(*position).seller);
    }
}

void MainWindow::ShowStoreAsItIs() {
    ReloadSellerList();
    const auto position = sellers_.PositionOfId(currentSellerId_);
    ShowSellerAt(position ? *position : 0);
}

void MainWindow::FollowOtherDesks(const std::vector<Kramo::StoreChange>& changes) {
    const bool concernsShown =
        std::any_of(changes.begin(), changes.end(), [this](const Kramo::StoreChange& change) {
            return change.IsEverything() || change.sellerId == currentSellerId_;
        });
    if (currentSellerId_ == -1 || !concernsShown) {
        return;
    }
    Kramo::Seller seller;
    try {
        seller = Store().GetSeller(currentSellerId_);
    } catch (const Kramo::WrongSellerException&) {
        return;  // removed elsewhere: the list shows it until the user moves on
    }
    const std::vector<int> selected = SelectedRowItemIds();
    ShowSeller(seller);
    SelectRowsOfItems(selected);
}

std::vector<int> MainWindow::SelectedRowItemIds() const {
    std::vector<int> ids;
    for (const Gtk::TreeModel::Path& path : itemView_->get_selection()->get_selected_rows()) {
        ids.push_back((*itemRows_->get_iter(path))[columns_.itemId]);
    }
    return ids;
}

void MainWindow::SelectRowsOfItems(const std::vector<int>& itemIds) {
    const Glib::RefPtr<Gtk::TreeSelection> selection = itemView_->get_selection();
    for (const Gtk::TreeModel::Row& row : itemRows_->children()) {
        const int itemId = row[columns_.itemId];
        if (std::find(itemIds.begin(), itemIds.end(), itemId) != itemIds.end()) {
            selection->select(row);
        }
    }
}

void MainWindow::ShowNoSeller() {
    FillingFlag::Scope filling(filling_);
    currentSellerId_ = -1;
    itemRows_->clear();
    sellerCombo_->unset_active();
    sellerTypeLabel_->set_text("");
    sellerNoteLabel_->set_text("");
    sellerNoteLabel_->set_tooltip_text("");
}

void MainWindow::ShowSeller(const Kramo::Seller& seller) {
    FillingFlag::Scope filling(filling_);
    currentSellerId_ = seller.ID;
    sellerNoteLabel_->set_text(seller.COMMENT);
    sellerNoteLabel_->set_tooltip_text(seller.COMMENT);  // the whole note, when it is cut

    const std::vector<Item> items = Store().GetSellerItems(seller.ID);
    FillItemRows(items, Store().GetCategoriesOfItems(items));

    if (const auto position = sellers_.PositionOfId(seller.ID)) {
        sellerCombo_->set_active(static_cast<int>(*position));
    } else {
        sellerCombo_->unset_active();
    }
    StateButton(seller.STATUS).set_active(true);
    sellerTypeLabel_->set_text(Store().GetSellerCategory(seller.SELLER_CATEGORY_ID).NAME);
}

void MainWindow::FillItemRows(const std::vector<Item>& items,
                              const std::vector<Kramo::ItemCategory>& categories) {
    itemRows_->clear();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        Gtk::TreeModel::Row row = *itemRows_->append();
        row[columns_.number] = Kramo::FormatText("%i", item.NUMBER);
        row[columns_.name] = item.NAME;
        row[columns_.price] = Kramo::FormatText("%0.2f", item.PRICE);
        row[columns_.category] = categories.at(i).NAME;
        row[columns_.state] = Kramo::ItemStatusDisplayName(item.STATUS);
        row[columns_.statePicture] = statePictures_.Of(item.STATUS);
        row[columns_.accepted] = item.STATUS == Kramo::InStock;
        row[columns_.itemId] = item.ID;
    }
}

Kramo::Seller MainWindow::CurrentSeller() const {
    if (currentSellerId_ != -1) {
        try {
            return Store().GetSeller(currentSellerId_);
        } catch (const std::exception& exception) {
            Kramo::HandleException(exception);
        }
    }
    throw std::runtime_error("No seller selected.");
}

std::vector<int> MainWindow::RegisterGetSelectedItemIds() const {
    if (currentSellerId_ == -1) {
        throw std::runtime_error("RegisterGetSelectedItemIds cannot work without selected seller");
    }
    const std::vector<Item> items = Store().GetSellerItems(currentSellerId_);
    std::vector<int> ids;
    for (const Gtk::TreeModel::Path& path : itemView_->get_selection()->get_selected_rows()) {
        const auto position = static_cast<std::size_t>(path.front());
        if (position >= items.size()) {
            break;
        }
        ids.push_back(items[position].ID);
    }
    return ids;
}

void MainWindow::RemoveSelectedItems() {
    if (currentSellerId_ == -1) {
        return;
    }
    const std::vector<int> ids = RegisterGetSelectedItemIds();
    if (ids.empty()) {
        return;
    }
    const std::string question = Kramo::FormatText(
        _("Ste si istý že chcete odstrániť %i ks tovaru?"), static_cast<int>(ids.size()));
    if (!Kramo::AskQuestion(question, _("Odstránenie tovaru"))) {
        return;
    }
    for (const int id : ids) {
        Store().RemoveItem(id);
    }
    ShowSeller(Store().GetSeller(currentSellerId_));
}

void MainWindow::RemoveShownSeller() {
    if (currentSellerId_ == -1 ||
        !Kramo::SellerRemoval::RemoveAfterQuestion(Store(), CurrentSeller())) {
        return;
    }
    ReloadSellerList();
    ShowSellerAt(0);
}

void MainWindow::RemarkAllItems() {
    if (currentSellerId_ == -1) {
        return;
    }
    const Kramo::Seller seller = CurrentSeller();
    std::vector<Item> items = Store().GetSellerItems(seller.ID);
    const std::optional<ItemMarking::Move> remarking = ItemMarking::OfSeller(seller.STATUS);
    if (items.empty() || !remarking) {
        return;
    }
    const std::string target =
        Kramo::FormatText(_("Tovar sa označí na %s"), _(ItemStatusNames[remarking->to]));
    if (!Kramo::AskQuestion(_("Ste si istý že chcete preznacit tovar?"), target)) {
        return;
    }
    for (Item& item : items) {
        if (item.STATUS == remarking->from) {
            Remark(item, *remarking);
        }
    }
    ShowSeller(CurrentSeller());
}

// An item another desk changed since the list was read is judged again as it is now; one it
// removed is left out.
void MainWindow::Remark(Item item, const ItemMarking::Move& move) {
    item.STATUS = move.to;
    try {
        Store().ModifyItem(item.ID, item);
        return;
    } catch (const Kramo::RecordChangedException&) {
    } catch (const Kramo::WrongItemException&) {
        return;
    }
    try {
        item = Store().GetItem(item.ID);
    } catch (const Kramo::WrongItemException&) {
        return;
    }
    if (item.STATUS == move.from) {
        item.STATUS = move.to;
        Store().ModifyItem(item.ID, item);
    }
}

void MainWindow::ToggleItem(const Glib::ustring& rowPath) {
    if (currentSellerId_ == -1) {
        return;
    }
    const Kramo::Seller seller = CurrentSeller();
    const std::vector<Item> items = Store().GetSellerItems(seller.ID);
    const long position = std::strtol(rowPath.c_str(), nullptr, 10);
    if (position < 0 || static_cast<std::size_t>(position) >= items.size()) {
        Kramo::ShowErrorText(_("chyba"), nullptr);
        return;
    }
    Item item = items[static_cast<std::size_t>(position)];
    // A handed-back seller's item is written back unchanged.
    if (seller.STATUS != Kramo::HandedBack) {
        const std::optional<int32_t> toggled = ItemMarking::Toggled(seller.STATUS, item.STATUS);
        if (!toggled) {
            return;
        }
        item.STATUS = *toggled;
    }
    try {
        Store().ModifyItem(item.ID, item);
    } catch (const Kramo::RecordChangedException&) {
        ShowStoreAsItIs();
        Kramo::TellChangedElsewhere(Kramo::EditedRecord::Item);
        return;
    } catch (const Kramo::WrongItemException&) {
        ShowStoreAsItIs();
        Kramo::TellRemovedElsewhere(Kramo::EditedRecord::Item);
        return;
    }
    ShowSeller(seller);
}

void MainWindow::PrintStatement() {
    if (currentSellerId_ == -1) {
        return;
    }
    const Kramo::Seller seller = CurrentSeller();
    if (const auto path = Kramo::PrintSellerStatement(kramoRegister_, settings_, seller.ID)) {
        Kramo::OpenDocument(*path);
    }
}

void MainWindow::PrintLabels() {
    if (currentSellerId_ == -1) {
        return;
    }
    if (const auto path = Kramo::PrintItemLabels(kramoRegister_, settings_, {CurrentSeller()})) {
        Kramo::OpenDocument(*path);
    }
}

void MainWindow::ShowOtherActions() {
    otherActionsMenu_->popup(0, 0);
}

std::string MainWindow::AskTargetFile(const std::string& directory,
                                      const std::string& suggestedName) {
    Gtk::FileChooserDialog chooser(*window_, _("Cielovy subor"), Gtk::FILE_CHOOSER_ACTION_SAVE);
    chooser.add_button(Gtk::Stock::CANCEL, Gtk::RESPONSE_CANCEL);
    chooser.add_button(Gtk::Stock::SAVE, Gtk::RESPONSE_OK);
    chooser.set_do_overwrite_confirmation(true);
    chooser.set_current_folder(directory);
    chooser.set_current_name(suggestedName);
    return chooser.run() == Gtk::RESPONSE_OK ? std::string(chooser.get_filename()) : std::string();
}

}  // namespace KramoDialogs
