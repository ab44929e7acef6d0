#include "CheckoutWindow.h"

#include <gdk/gdkkeysyms.h>
#include <glibmm/markup.h>
#include <gtkmm/button.h>
#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>

#include "register/ItemEntryRules.h"
#include "register/ItemScan.h"
#include "support/FormatText.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"
#include "support/UserMessages.h"
#include "ui/FieldLook.h"
#include "ui/GuardedAction.h"
#include "ui/MainWindow.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

constexpr std::size_t ItemTextBytes = 70;
// Half a cent of leeway for sums of prices in binary fractions, as the sale itself allows.
constexpr double Leeway = 0.005;

bool IsDelete(const GdkEventKey* event) {
    return event->keyval == GDK_Delete || event->keyval == GDK_KP_Delete;
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

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
    scanField_ = std::make_unique<ScanField>(*scanEntry_, filling_);
    BuildPurchaseView();
    ConnectSignals();
    focusOrder_ = std::make_unique<FocusOrder>(
        window_,
        std::vector<Gtk::Widget*>{scanEntry_, amountEntry_, sellerEntry_, itemEntry_, addButton_,
                                  sellAnywayButton_, finishButton_, sellerCombo_, itemCombo_,
                                  &searchBox_->TextEntry(), &searchBox_->Box(), purchaseView_,
                                  removeButton_, stornoButton_, backButton_});
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
        .Get("entry scan", scanEntry_)
        .Get("button sell anyway", sellAnywayButton_)
        .Get("entry amount received", amountEntry_)
        .Get("label change", changeLabel_)
        .Get("button storno", stornoButton_)
        .Check();
    searchBox_ = std::make_unique<ItemSearchBox>(checkoutXml, search_);
}

void CheckoutWindow::BuildPurchaseView() {
    purchaseRows_ = Gtk::ListStore::create(columns_);
    purchaseView_->set_model(purchaseRows_);
    purchaseView_->get_selection()->set_mode(Gtk::SELECTION_SINGLE);
    purchaseView_->append_column("#", columns_.number);
    purchaseView_->append_column(_("stav"), columns_.state);
    purchaseView_->append_column(_("nazov"), columns_.name);
    purchaseView_->append_column(_("cena"), columns_.price);
    purchaseView_->get_column_cell_renderer(3)->property_xalign() = 1.0;  // amounts align right
    purchaseView_->append_column(_("kategoria"), columns_.category);
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
    addButton_->signal_clicked().connect(DeskAction(&CheckoutWindow::AddCheckoutItem));
    removeButton_->signal_clicked().connect(DeskAction(&CheckoutWindow::RemoveSelectedRows));
    finishButton_->signal_clicked().connect(DeskAction(&CheckoutWindow::FinishPurchase));
    backButton_->signal_clicked().connect(Guarded([this] { Leave(); }));
    scanEntry_->signal_activate().connect(DeskAction(&CheckoutWindow::ScanItem));
    scanEntry_->signal_changed().connect([this] { ForgetRefusal(); });
    scanEntry_->signal_key_press_event().connect(sigc::mem_fun(*this, &CheckoutWindow::OnScanKey),
                                                 false);
    sellAnywayButton_->signal_clicked().connect(DeskAction(&CheckoutWindow::SellAnyway));
    amountEntry_->signal_activate().connect(DeskAction(&CheckoutWindow::TakePayment));
    amountEntry_->signal_changed().connect(Guarded([this] { ShowChange(); }));
    amountEntry_->signal_key_press_event().connect(
        sigc::mem_fun(*this, &CheckoutWindow::OnAmountKey), false);
    purchaseView_->signal_key_press_event().connect(
        sigc::mem_fun(*this, &CheckoutWindow::OnPurchaseListKey), false);
    stornoButton_->signal_clicked().connect(DeskAction(&CheckoutWindow::CancelLastPurchase));
    window_.signal_delete_event().connect([this](GdkEventAny*) {
        Guarded([this] { Leave(); })();
        return true;  // closed like "button register": hidden, kept for the next opening
    });
}

sigc::slot<void> CheckoutWindow::DeskAction(Action action) {
    return [this, action] { RunAtDesk(action); };
}

void CheckoutWindow::RunAtDesk(Action action) {
    Guarded([this, action] { (this->*action)(); })();
    if (window_.get_focus() != amountEntry_) {
        FocusScanField();
    }
}

void CheckoutWindow::FocusScanField() {
    scanEntry_->grab_focus();
}

// Delete on the empty scan field takes back the last line: the item scanned by mistake.
bool CheckoutWindow::OnScanKey(GdkEventKey* event) {
    if (!IsDelete(event) || !scanEntry_->get_text().empty()) {
        return false;
    }
    RunAtDesk(&CheckoutWindow::RemoveLastLine);
    return true;
}

bool CheckoutWindow::OnPurchaseListKey(GdkEventKey* event) {
    if (!IsDelete(event)) {
        return false;
    }
    RunAtDesk(&CheckoutWindow::RemoveSelectedRows);
    return true;
}

bool CheckoutWindow::OnAmountKey(GdkEventKey* event) {
    if (event->keyval != GDK_Escape) {
        return false;
    }
    RunAtDesk(&CheckoutWindow::CancelPayment);
    return true;
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
    scanEntry_->set_text("");
    amountEntry_->set_text("");
    mainWindow_.ReloadSellerList();
    FocusScanField();
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

void CheckoutWindow::FollowOtherDesks(const std::vector<Kramo::StoreChange>& changes) {
    std::set<int> changed;
    bool everything = false;
    for (const Kramo::StoreChange& change : changes) {
        everything |= change.IsEverything();
        if (change.record == Kramo::StoreChange::Record::Item) {
            changed.insert(change.id);
        }
    }
    const auto concerns = [&](int itemId) { return everything || changed.count(itemId) > 0; };
    searchBox_->Refresh();
    if (checkoutItemId_ != -1 && concerns(checkoutItemId_)) {
        try {
            ShowPrice(Store().GetItem(checkoutItemId_));
        } catch (const Kramo::WrongItemException&) {
            ClearPrice();
        }
    }
    for (const Gtk::TreeModel::Row& row : purchaseRows_->children()) {
        if (concerns(row[columns_.itemId])) {
            FollowPurchaseRow(row);
        }
    }
}

// The row keeps the state the item had when it was added, so a change from that is news.
void CheckoutWindow::FollowPurchaseRow(const Gtk::TreeModel::Row& row) {
    const std::string line = Glib::ustring(row[columns_.number]).raw();
    std::string news;
    try {
        const Kramo::Item item = Store().GetItem(row[columns_.itemId]);
        const std::string state = Kramo::ItemStatusDisplayName(item.STATUS);
        if (Glib::ustring(row[columns_.state]).raw() == state) {
            return;
        }
        row[columns_.state] = state;
        if (item.STATUS == Kramo::Sold) {
            // Short enough for the price line, which shows some 28 letters.
            news = Kramo::FormatText(_("%s predala iná pokladňa"), line.c_str());
        }
    } catch (const Kramo::WrongItemException&) {
        // TRANSLATORS: the state of an item in the purchase that another desk deleted.
        row[columns_.state] = _("odstránený");
        news = Kramo::FormatText(_("%s medzitým odstránili"), line.c_str());
    }
    if (!news.empty()) {
        priceLabel_->set_text(news);
        PaintPriceLabel(true);
        Beep();
    }
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

void CheckoutWindow::ShowPrice(const Kramo::Item& item) {
    priceLabel_->set_text(Kramo::FormatText("%0.2f ", item.PRICE) +
                          Kramo::ItemStatusDisplayName(item.STATUS));
    PaintPriceLabel(item.STATUS != Kramo::InStock);
}

// The price when the item is known, so that the cashier can still sell it anyway knowingly.
void CheckoutWindow::ShowRefusal(const Kramo::ScanOutcome& outcome) {
    priceLabel_->set_text(
        (outcome.item ? Kramo::FormatText("%0.2f ", outcome.item->PRICE) : std::string()) +
        Kramo::ItemScan::RefusalText(outcome.refusal));
    PaintPriceLabel(true);
}

void CheckoutWindow::ClearPrice() {
    priceLabel_->set_text("");
    PaintPriceLabel(false);
}

void CheckoutWindow::PaintPriceLabel(bool warning) {
    FieldLook::Label(*priceLabel_, warning);
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
    AddLine(line);
    sellerEntry_->set_text("");
    itemEntry_->set_text("");
}

void CheckoutWindow::ScanItem() {
    const std::string text = scanEntry_->get_text();
    if (IsBlank(text)) {
        if (!purchase_.ItemIds().empty()) {
            amountEntry_->set_text("");
            amountEntry_->grab_focus();
        }
        return;
    }
    const Kramo::ScanOutcome outcome =
        Kramo::ItemScan::Find(Store(), mainWindow_.Sellers(), purchase_, text);
    if (outcome.refusal == Kramo::ScanRefusal::None) {
        AddLine(checkout_.AddCheckedItem(purchase_, *outcome.item));
        ShowPrice(*outcome.item);
        scanEntry_->set_text("");
        return;
    }
    ShowRefusal(outcome);
    Beep();
    scanField_->SelectForNextScan();
    if (outcome.CanBeOverruled()) {
        refusedItem_ = outcome.item;
        sellAnywayButton_->set_sensitive(true);
    }
}

// Any change of the scan field ends the chance to overrule the refusal it showed.
void CheckoutWindow::ForgetRefusal() {
    refusedItem_.reset();
    sellAnywayButton_->set_sensitive(false);
}

void CheckoutWindow::SellAnyway() {
    if (!refusedItem_) {
        return;
    }
    const Kramo::Item item = *refusedItem_;
    AddLine(checkout_.AddCheckedItem(purchase_, item));
    ShowPrice(item);
    scanEntry_->set_text("");
    ForgetRefusal();
}

void CheckoutWindow::AddLine(const std::optional<Kramo::PurchaseLine>& line) {
    if (line) {
        AppendRow(*line);
        UpdateSum();
    }
}

void CheckoutWindow::Beep() {
    FieldLook::Beep(window_);
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

void CheckoutWindow::RemoveLastLine() {
    const std::size_t count = purchase_.ItemIds().size();
    if (count == 0) {
        return;
    }
    purchaseRows_->erase(purchaseRows_->children()[count - 1]);
    purchase_.RemoveAt(count - 1);
    UpdateSum();
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

// After the checkout took items out of the purchase: their rows go too.
void CheckoutWindow::KeepRowsInStep() {
    const Gtk::TreeModel::Children rows = purchaseRows_->children();
    for (auto row = rows.begin(); row != rows.end();) {
        const int itemId = (*row)[columns_.itemId];
        row = purchase_.Contains(itemId) ? std::next(row) : purchaseRows_->erase(row);
    }
    UpdateSum();
}

void CheckoutWindow::UpdateSum() {
    sum_ = Kramo::Checkout::PurchaseTotal(checkout_.CurrentItems(purchase_));
    sumLabel_->set_text(SumText());
    ShowChange();
}

std::string CheckoutWindow::SumText() const {
    return Kramo::FormatText(_("Suma: %s"), Money(sum_).c_str());
}

std::string CheckoutWindow::Money(double amount) const {
    return Kramo::FormatText("%0.2f", amount) + " " + settings_.CurrencyUnit();
}

std::optional<CheckoutWindow::Payment> CheckoutWindow::TypedPayment() const {
    std::string text = amountEntry_->get_text();
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    if (text.empty()) {
        return Payment{};
    }
    Kramo::DecimalCommaToPoint(text);
    double amount = 0.0;
    if (!Kramo::IsNumberText(text) || text[0] == '-' || !Kramo::ParseNumber(text, amount)) {
        return std::nullopt;
    }
    return Payment{amount};
}

std::optional<CheckoutWindow::Payment> CheckoutWindow::PaymentTaken() {
    const std::optional<Payment> payment = TypedPayment();
    if (payment && (!payment->received || *payment->received >= sum_ - Leeway)) {
        return payment;
    }
    // The change label says what is wrong with the amount.
    Beep();
    amountEntry_->grab_focus();
    amountEntry_->select_region(0, -1);
    return std::nullopt;
}

void CheckoutWindow::ShowChange() {
    if (purchase_.ItemIds().empty() || IsBlank(amountEntry_->get_text())) {
        ShowLarge("", false);
        return;
    }
    const std::optional<Payment> payment = TypedPayment();
    if (!payment) {
        ShowLarge(_("Neplatná suma"), true);
        return;
    }
    const double change = *payment->received - sum_;
    if (change < -Leeway) {
        ShowLarge(Kramo::FormatText(_("Chýba: %s"), Money(-change).c_str()), true);
    } else {
        ShowLarge(Kramo::FormatText(_("Vydať: %s"), Money(std::max(change, 0.0)).c_str()), false);
    }
}

void CheckoutWindow::ShowLarge(const std::string& text, bool warning) {
    changeLabel_->set_markup("<span size=\"xx-large\" weight=\"bold\"" +
                             std::string(warning ? " foreground=\"red\"" : "") + ">" +
                             Glib::Markup::escape_text(text) + "</span>");
}

// The purchase is emptied only once the sale is recorded; a failure leaves it for another try.
void CheckoutWindow::FinishPurchase() {
    if (purchase_.ItemIds().empty()) {
        return;
    }
    const std::optional<Payment> payment = PaymentTaken();
    if (payment && Kramo::AskQuestion(_("Dokončiť nákup?"), "")) {
        Finish(*payment, payment->received.has_value());
    }
}

void CheckoutWindow::TakePayment() {
    if (purchase_.ItemIds().empty()) {
        CancelPayment();
        return;
    }
    if (const std::optional<Payment> payment = PaymentTaken()) {
        Finish(*payment, true);
    }
}

void CheckoutWindow::CancelPayment() {
    amountEntry_->set_text("");
    FocusScanField();
}

void CheckoutWindow::Finish(const Payment& payment, bool showChange) {
    bool finished = false;
    try {
        finished = checkout_.FinishPurchase(purchase_, payment.received);
    } catch (...) {
        KeepRowsInStep();
        throw;
    }
    if (!finished) {
        KeepRowsInStep();
        return;
    }
    std::vector<int> itemIds;
    for (const Kramo::Item& item : checkout_.LastPurchase()->items) {
        itemIds.push_back(item.ID);
    }
    const double previous = checkout_.LastPurchase()->total;
    search_.SetItemsStatus(itemIds, Kramo::Sold);
    amountEntry_->set_text("");
    purchaseRows_->clear();
    UpdateSum();
    ClearPrice();
    std::string previousText;
    if (showChange) {
        const double change = payment.received ? *payment.received - previous : 0.0;
        const std::string given = Money(std::max(change, 0.0));
        previousText = Kramo::FormatText(_(" (Predchádzajúci nákup: %s, vydať %s)"),
                                         Money(previous).c_str(), given.c_str());
        ShowLarge(Kramo::FormatText(_("Vydať: %s"), given.c_str()), false);
    } else {
        previousText = Kramo::FormatText(_(" (Predchádzajúci nákup: %s)"), Money(previous).c_str());
    }
    sumLabel_->set_text(SumText() + previousText);
    stornoButton_->set_sensitive(true);
    FocusScanField();
}

void CheckoutWindow::CancelLastPurchase() {
    if (!checkout_.LastPurchase()) {
        return;
    }
    std::vector<int> itemIds;
    for (const Kramo::Item& item : checkout_.LastPurchase()->items) {
        itemIds.push_back(item.ID);
    }
    if (!checkout_.CancelLastPurchase()) {
        return;
    }
    search_.SetItemsStatus(itemIds, Kramo::InStock);
    stornoButton_->set_sensitive(false);
    // What showed the cancelled purchase or the states of its items is out of date.
    ClearPrice();
    ShowLarge("", false);
    for (const Gtk::TreeModel::Row& row : purchaseRows_->children()) {
        const int itemId = row[columns_.itemId];
        if (std::find(itemIds.begin(), itemIds.end(), itemId) != itemIds.end()) {
            row[columns_.state] = Kramo::ItemStatusDisplayName(Kramo::InStock);
        }
    }
    sumLabel_->set_text(SumText() + _(" (Predchádzajúci nákup stornovaný)"));
}

}  // namespace KramoDialogs
