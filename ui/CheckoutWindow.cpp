#include "CheckoutWindow.h"

#include <gtkmm/button.h>
#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/label.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <functional>

#include "register/ItemEntryRules.h"
#include "support/FormatText.h"
#include "support/TextHelpers.h"
#include "support/UserMessages.h"
#include "ui/FieldLook.h"
#include "ui/GuardedAction.h"
#include "ui/MainWindow.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

constexpr std::size_t ItemTextBytes = 70;

}  // namespace

CheckoutWindow::CheckoutWindow(Gtk::Window& window,
                               const Glib::RefPtr<Gnome::Glade::Xml>& checkoutXml,
                               Kramo::KramoRegister& kramoRegister,
                               const Kramo::KramoSettings& settings, MainWindow& mainWindow,
                               Kramo::ItemSearch& search, FillingFlag& filling)
    : window_(window),
      kramoRegister_(kramoRegister),
      settings_(settings),
      mainWindow_(mainWindow),
      search_(search),
      filling_(filling),
      checkout_(kramoRegister, settings) {
    TakeWidgets(checkoutXml);
    sellerCombo_->LimitWidth(20);
    itemCombo_->LimitWidth(20);
    priceLabel_->set_padding(4, 2);  // the text off the edge of its coloured box
    BuildPurchaseView();
    ConnectSignals();
    focusOrder_ = std::make_unique<FocusOrder>(
        window_, std::vector<Gtk::Widget*>{sellerEntry_, itemEntry_, addButton_, finishButton_,
                                           sellerCombo_, itemCombo_, &searchBox_->TextEntry(),
                                           &searchBox_->Box(), removeButton_, backButton_});
}

CheckoutWindow::~CheckoutWindow() = default;

void CheckoutWindow::TakeWidgets(const Glib::RefPtr<Gnome::Glade::Xml>& checkoutXml) {
    WidgetLookup(checkoutXml, "Dialog file is corrupt [4].")
        .Get("treeview cashout items", purchaseView_)
        .Get("entry lookup seller", sellerEntry_)
        .GetDerived("combo lookup seller", sellerCombo_)
        .Get("entry lookup item", itemEntry_)
        .GetDerived("combo lookup item", itemCombo_)
        .Get("label item price", priceLabel_)
        .Get("button cashout add item", addButton_)
        .Get("button cashout remove item", removeButton_)
        .Get("label sum", sumLabel_)
        .Get("label cashout finished", finishButton_)
        .Get("button register", backButton_)
        .Check();
    searchBox_ = std::make_unique<ItemSearchBox>(checkoutXml, search_);
}

void CheckoutWindow::BuildPurchaseView() {
    purchaseRows_ = Gtk::ListStore::create(columns_);
    purchaseView_->set_model(purchaseRows_);
    purchaseView_->get_selection()->set_mode(Gtk::SELECTION_SINGLE);
    purchaseView_->append_column("#", columns_.number);
    purchaseView_->append_column("stav", columns_.state);
    purchaseView_->append_column("nazov", columns_.name);
    purchaseView_->append_column("cena", columns_.price);
    purchaseView_->get_column_cell_renderer(3)->property_xalign() = 1.0;  // amounts align right
    purchaseView_->append_column("kategoria", columns_.category);
    ItemsColumns::ArrangeColumns(*purchaseView_, 2);
}

void CheckoutWindow::ConnectSignals() {
    // Changes the program makes itself are followed up where it makes them.
    const auto unlessFilling = [this](void (CheckoutWindow::*handler)()) {
        return Guarded([this, handler] {
            if (!filling_.IsSet()) {
                (this->*handler)();
            }
        });
    };
    sellerEntry_->signal_changed().connect(unlessFilling(&CheckoutWindow::ChooseSellerByCode));
    sellerCombo_->signal_changed().connect(unlessFilling(&CheckoutWindow::TakeChosenSeller));
    itemEntry_->signal_changed().connect(unlessFilling(&CheckoutWindow::ChooseItemByNumber));
    itemCombo_->signal_changed().connect(unlessFilling(&CheckoutWindow::TakeChosenItem));
    searchBox_->SignalHitChosen().connect(
        Guarded([this](const Kramo::Item& hit) { TakeSearchHit(hit); }));
    addButton_->signal_clicked().connect(Guarded([this] { AddCheckoutItem(); }));
    removeButton_->signal_clicked().connect(Guarded([this] { RemoveSelectedRows(); }));
    finishButton_->signal_clicked().connect(Guarded([this] { FinishPurchase(); }));
    backButton_->signal_clicked().connect(Guarded([this] { Leave(); }));
    window_.signal_delete_event().connect([this](GdkEventAny*) {
        Guarded([this] { Leave(); })();
        return true;  // closed like "button register": hidden, kept for the next opening
    });
}

void CheckoutWindow::Open() {
    FillingFlag::Scope filling(filling_);
    window_.show();
    window_.maximize();
    window_.present();
    sellerCombo_->ClearItems();
    ForgetSellerItems();
    checkoutSellerId_ = -1;
    sellerEntry_->set_text("");
    itemEntry_->set_text("");
    searchBox_->Clear();
    mainWindow_.ReloadSellerList();
    sellerEntry_->grab_focus();
    search_.FetchLatestData();
}

void CheckoutWindow::Leave() {
    window_.hide();
    FillingFlag::Scope filling(filling_);
    mainWindow_.ReloadSellerList();
    // What was sold meanwhile shows at once in the seller's item states.
    mainWindow_.ShowCurrentSellerAgain();
}

// A refilled combo has no choice: the checkout's seller and items go with it.
void CheckoutWindow::RefillSellerCombo() {
    FillingFlag::Scope filling(filling_);
    sellerCombo_->ClearItems();
    for (const std::string& text : mainWindow_.Sellers().ComboTexts()) {
        sellerCombo_->AppendText(text);
    }
    checkoutSellerId_ = -1;
    ForgetSellerItems();
}

void CheckoutWindow::ForgetSellerItems() {
    FillingFlag::Scope filling(filling_);
    itemCombo_->ClearItems();
    sellerItems_.clear();
    checkoutItemId_ = -1;
}

// The combo is set quietly and the seller taken here: choosing the row the combo already
// shows emits nothing, yet the item list was just emptied.
void CheckoutWindow::ChooseSellerByCode() {
    const auto position = mainWindow_.Sellers().PositionOfCode(sellerEntry_->get_text());
    {
        FillingFlag::Scope filling(filling_);
        if (position) {
            sellerCombo_->set_active(static_cast<int>(*position));
        } else {
            sellerCombo_->unset_active();
        }
    }
    TakeChosenSeller();
}

void CheckoutWindow::TakeChosenSeller() {
    ForgetSellerItems();
    const int row = sellerCombo_->get_active_row_number();
    if (row < 0 || static_cast<std::size_t>(row) >= mainWindow_.Sellers().Size()) {
        checkoutSellerId_ = -1;
        return;
    }
    checkoutSellerId_ = mainWindow_.Sellers().At(static_cast<std::size_t>(row)).seller.ID;
    sellerItems_ = Store().GetSellerItems(checkoutSellerId_);
    FillingFlag::Scope filling(filling_);
    for (const Kramo::Item& item : sellerItems_) {
        itemCombo_->AppendText(
            Kramo::CutAtCharacter(std::to_string(item.NUMBER) + " - " + item.NAME, ItemTextBytes));
    }
}

void CheckoutWindow::ChooseItemByNumber() {
    if (checkoutSellerId_ == -1) {
        return;
    }
    const int number = Kramo::ItemEntryRules::NumberOf(itemEntry_->get_text());
    const auto found =
        std::find_if(sellerItems_.begin(), sellerItems_.end(),
                     [number](const Kramo::Item& item) { return item.NUMBER == number; });
    {
        FillingFlag::Scope filling(filling_);
        if (found != sellerItems_.end()) {
            itemCombo_->set_active(static_cast<int>(found - sellerItems_.begin()));
        } else {
            itemCombo_->unset_active();
        }
    }
    TakeChosenItem();
}

void CheckoutWindow::TakeChosenItem() {
    checkoutItemId_ = -1;
    const int row = itemCombo_->get_active_row_number();
    if (checkoutSellerId_ == -1 || row < 0 ||
        static_cast<std::size_t>(row) >= sellerItems_.size()) {
        return;
    }
    checkoutItemId_ = sellerItems_[static_cast<std::size_t>(row)].ID;
    if (checkoutItemId_ == -1) {
        priceLabel_->set_text("");
        return;
    }
    ShowPrice(Store().GetItem(checkoutItemId_));
}

// The label sits in an event box, which shows the base colour behind the text.
void CheckoutWindow::ShowPrice(const Kramo::Item& item) {
    priceLabel_->set_text(Kramo::FormatText("%0.2f ", item.PRICE) +
                          Kramo::ItemStatusDisplayName(item.STATUS));
    const bool inStock = item.STATUS == Kramo::InStock;
    if (inStock) {
        FieldLook::Normal(*priceLabel_);
    } else {
        FieldLook::Warning(*priceLabel_);
    }
    if (Gtk::Widget* box = priceLabel_->get_parent(); dynamic_cast<Gtk::EventBox*>(box)) {
        box->modify_bg(Gtk::STATE_NORMAL,
                       Gdk::Color(inStock ? FieldLook::NormalBase : FieldLook::WarningBase));
    }
}

void CheckoutWindow::TakeSearchHit(const Kramo::Item& hit) {
    Kramo::Seller seller;
    try {
        seller = Store().GetSeller(hit.SELLER_ID);
    } catch (const std::exception& failure) {
        Kramo::HandleException(failure);
        return;
    }
    {
        FillingFlag::Scope filling(filling_);
        sellerEntry_->set_text(seller.SHORT_CODE);
        itemEntry_->set_text(std::to_string(hit.NUMBER));
    }
    ChooseSellerByCode();
    ChooseItemByNumber();
}

void CheckoutWindow::AddCheckoutItem() {
    const std::optional<Kramo::PurchaseLine> line =
        checkout_.AddToPurchase(purchase_, checkoutItemId_);
    if (!line) {
        return;
    }
    AppendRow(*line);
    sellerEntry_->set_text("");
    itemEntry_->set_text("");
    sellerEntry_->grab_focus();
    UpdateSum();
}

void CheckoutWindow::AppendRow(const Kramo::PurchaseLine& line) {
    Gtk::TreeModel::Row row = *purchaseRows_->append();
    row[columns_.number] = line.seller.SHORT_CODE + " - " + std::to_string(line.item.NUMBER);
    row[columns_.name] = line.item.NAME;
    row[columns_.price] = Kramo::FormatText("%0.2f", line.item.PRICE);
    row[columns_.category] =
        line.category.CODE == '\0' ? std::string() : std::string(1, line.category.CODE);
    row[columns_.state] = Kramo::ItemStatusDisplayName(line.item.STATUS);
    row[columns_.sellerId] = line.item.SELLER_ID;
    row[columns_.itemId] = line.item.ID;
}

void CheckoutWindow::RemoveSelectedRows() {
    std::vector<std::size_t> positions;
    for (const Gtk::TreeModel::Path& path : purchaseView_->get_selection()->get_selected_rows()) {
        positions.push_back(static_cast<std::size_t>(path.front()));
    }
    if (positions.empty()) {
        return;
    }
    std::sort(positions.begin(), positions.end(), std::greater<>());
    for (const std::size_t position : positions) {
        purchaseRows_->erase(purchaseRows_->children()[position]);
        purchase_.RemoveAt(position);
    }
    UpdateSum();
}

void CheckoutWindow::UpdateSum() {
    sum_ = Kramo::Checkout::PurchaseTotal(Store().GetItemsByIds(purchase_.ItemIds()));
    sumLabel_->set_text(SumText());
}

std::string CheckoutWindow::SumText() const {
    return Kramo::FormatText("Suma: %0.2f", sum_) + " " + settings_.CurrencyUnit();
}

// The purchase is emptied only once the sale is recorded; a failure leaves it for another try.
void CheckoutWindow::FinishPurchase() {
    if (purchase_.ItemIds().empty() || !Kramo::AskQuestion("Dokončiť nákup?", "")) {
        return;
    }
    const double previous = sum_;
    checkout_.FinishCheckout(Store().GetItemsByIds(purchase_.ItemIds()));
    purchaseRows_->clear();
    purchase_.Clear();
    UpdateSum();
    sumLabel_->set_text(SumText() + Kramo::FormatText(" (Predchádzajúci nákup: %0.2f", previous) +
                        " " + settings_.CurrencyUnit() + ")");
}

}  // namespace KramoDialogs
