#pragma once

#include <gtkmm/liststore.h>
#include <libglademm/xml.h>

#include <gdk/gdk.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/ItemSearch.h"
#include "register/Checkout.h"
#include "register/ItemScan.h"
#include "register/KramoRegister.h"
#include "register/Purchase.h"
#include "settings/KramoSettings.h"
#include "ui/ComboBoxTextDer.h"
#include "ui/FillingFlag.h"
#include "ui/FocusOrder.h"
#include "ui/ItemSearchBox.h"
#include "ui/ItemsColumns.h"
#include "ui/ScanField.h"

namespace Gtk {
class Button;
class Entry;
class Label;
class TreeView;
class Window;
}  // namespace Gtk

namespace KramoDialogs {

class MainWindow;

// The cash desk: the cashier scans items (or types a seller's code and an item's number into
// the scan field), or picks them by code and number, from the lists or through the search,
// collects them into a purchase, takes the payment and finishes it with a receipt. Every
// action leaves the cursor in the scan field, ready for the next scan.
class CheckoutWindow {
  public:
    // Takes the children of "Pokladna"; throws the building step's text when one is missing.
    CheckoutWindow(Gtk::Window& window, const Glib::RefPtr<Gnome::Glade::Xml>& checkoutXml,
                   Kramo::KramoRegister& kramoRegister, const Kramo::KramoSettings& settings,
                   MainWindow& mainWindow, Kramo::ItemSearch& search, FillingFlag& filling);
    ~CheckoutWindow();

    // Shows the window with empty choices and fresh seller and search data; the purchase stays.
    void Open();
    void Leave();
    void AddCheckoutItem();
    void RemoveSelectedRows();
    // The finish button: asks "Dokončiť nákup?" and finishes with the amount received typed
    // into the payment field, or as paid exactly when it is empty.
    void FinishPurchase();

    // Enter in the scan field: adds the item the text names, or says in red why not. Enter
    // on an empty field goes to the payment.
    void ScanItem();
    // Adds the item the last scan refused for its state.
    void SellAnyway();
    // Enter in the payment field: finishes the purchase with the amount received (none typed:
    // paid exactly); an amount that is no number or too little is refused.
    void TakePayment();
    void CancelPayment();
    void RemoveLastLine();
    // Takes back the last finished purchase (after the question inside).
    void CancelLastPurchase();

    // Refills the seller combo from the main window's seller list.
    void RefillSellerCombo();
    // After the search took in what other desks changed: the hits, the shown item's price and
    // the purchase's states as they are now. An item of the purchase that another desk sold
    // or removed meanwhile is marked, and the cashier is told in the price line.
    void FollowOtherDesks(const std::vector<Kramo::StoreChange>& changes);

    int CheckoutSellerId() const { return checkoutSellerId_; }
    int CheckoutItemId() const { return checkoutItemId_; }
    const Kramo::Purchase& CurrentPurchase() const { return purchase_; }

    // The widgets tests drive.
    Gtk::Window& Window() { return window_; }
    Gtk::Entry& SellerEntry() { return *sellerEntry_; }
    ComboBoxTextDer& SellerCombo() { return *sellerCombo_; }
    Gtk::Entry& ItemEntry() { return *itemEntry_; }
    ComboBoxTextDer& ItemCombo() { return *itemCombo_; }
    Gtk::Label& PriceLabel() { return *priceLabel_; }
    Gtk::Label& SumLabel() { return *sumLabel_; }
    Gtk::Button& AddButton() { return *addButton_; }
    Gtk::Button& RemoveButton() { return *removeButton_; }
    Gtk::Button& FinishButton() { return *finishButton_; }
    Gtk::Button& BackButton() { return *backButton_; }
    Gtk::TreeView& PurchaseView() { return *purchaseView_; }
    Gtk::Entry& ScanEntry() { return *scanEntry_; }
    Gtk::Button& SellAnywayButton() { return *sellAnywayButton_; }
    Gtk::Entry& AmountEntry() { return *amountEntry_; }
    Gtk::Label& ChangeLabel() { return *changeLabel_; }
    Gtk::Button& StornoButton() { return *stornoButton_; }
    const Glib::RefPtr<Gtk::ListStore>& PurchaseRows() const { return purchaseRows_; }
    const ItemsColumns& Columns() const { return columns_; }
    ItemSearchBox& Search() { return *searchBox_; }

  private:
    void TakeWidgets(const Glib::RefPtr<Gnome::Glade::Xml>& checkoutXml);
    void BuildPurchaseView();
    void ConnectSignals();
    void ChooseSellerByCode();
    void TakeChosenSeller();
    void ChooseItemByNumber();
    void TakeChosenItem();
    void TakeSearchHit(const Kramo::Item& hit);
    // Runs a desk action with its failure reported; the cursor goes back to the scan field
    // unless the action took it to the payment.
    using Action = void (CheckoutWindow::*)();
    sigc::slot<void> DeskAction(Action action);
    void RunAtDesk(Action action);
    void FocusScanField();
    bool OnScanKey(GdkEventKey* event);
    bool OnPurchaseListKey(GdkEventKey* event);
    bool OnAmountKey(GdkEventKey* event);
    void ForgetRefusal();
    void ForgetSellerItems();
    void ShowPrice(const Kramo::Item& item);
    void FollowPurchaseRow(const Gtk::TreeModel::Row& row);
    void ShowRefusal(const Kramo::ScanOutcome& outcome);
    void PaintPriceLabel(bool warning);
    void ClearPrice();
    void AddLine(const std::optional<Kramo::PurchaseLine>& line);
    void AppendRow(const Kramo::PurchaseLine& line);
    void KeepRowsInStep();
    void UpdateSum();
    std::string SumText() const;
    std::string Money(double amount) const;
    // What the payment field holds: no amount when nothing is typed (paid exactly); nothing
    // for a text that is no amount.
    struct Payment {
        std::optional<double> received;
    };
    std::optional<Payment> TypedPayment() const;
    // The payment typed when it pays for the purchase; else a beep, and the payment field
    // keeps the cursor with its text selected.
    std::optional<Payment> PaymentTaken();
    // The change for the amount typed, large; what is missing in red; empty while none is typed.
    void ShowChange();
    void ShowLarge(const std::string& text, bool warning);
    void Finish(const Payment& payment, bool showChange);
    void Beep();
    Kramo::DataAccessInterface& Store() const { return kramoRegister_.Store(); }

    Gtk::Window& window_;
    Kramo::KramoRegister& kramoRegister_;
    const Kramo::KramoSettings& settings_;
    MainWindow& mainWindow_;
    Kramo::ItemSearch& search_;
    FillingFlag& filling_;
    Kramo::Checkout checkout_;

    int checkoutSellerId_ = -1;
    int checkoutItemId_ = -1;
    std::vector<Kramo::Item> sellerItems_;  // in the order of the item combo
    Kramo::Purchase purchase_;              // in step with the rows of the purchase list
    double sum_ = 0.0;
    std::optional<Kramo::Item> refusedItem_;  // the last scan's, while it may be sold anyway
    ItemsColumns columns_;
    Glib::RefPtr<Gtk::ListStore> purchaseRows_;

    Gtk::TreeView* purchaseView_ = nullptr;
    Gtk::Entry* sellerEntry_ = nullptr;
    ComboBoxTextDer* sellerCombo_ = nullptr;
    Gtk::Entry* itemEntry_ = nullptr;
    ComboBoxTextDer* itemCombo_ = nullptr;
    Gtk::Label* priceLabel_ = nullptr;
    Gtk::Button* addButton_ = nullptr;
    Gtk::Button* removeButton_ = nullptr;
    Gtk::Label* sumLabel_ = nullptr;
    Gtk::Button* finishButton_ = nullptr;
    Gtk::Button* backButton_ = nullptr;
    Gtk::Entry* scanEntry_ = nullptr;
    Gtk::Button* sellAnywayButton_ = nullptr;
    Gtk::Entry* amountEntry_ = nullptr;
    Gtk::Label* changeLabel_ = nullptr;
    Gtk::Button* stornoButton_ = nullptr;
    std::unique_ptr<ItemSearchBox> searchBox_;
    std::unique_ptr<FocusOrder> focusOrder_;
    std::unique_ptr<ScanField> scanField_;
};

}  // namespace KramoDialogs
