#pragma once

#include <gtkmm/liststore.h>
#include <libglademm/xml.h>

#include <memory>
#include <vector>

#include "core/ItemSearch.h"
#include "register/Checkout.h"
#include "register/KramoRegister.h"
#include "register/Purchase.h"
#include "settings/KramoSettings.h"
#include "ui/ComboBoxTextDer.h"
#include "ui/FillingFlag.h"
#include "ui/FocusOrder.h"
#include "ui/ItemSearchBox.h"
#include "ui/ItemsColumns.h"

namespace Gtk {
class Button;
class Entry;
class Label;
class TreeView;
class Window;
}  // namespace Gtk

namespace KramoDialogs {

class MainWindow;

// The cash desk: the cashier picks items by seller code and number, from the lists or through
// the search, collects them into a purchase and finishes it with a receipt.
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
    void FinishPurchase();

    // Refills the seller combo from the main window's seller list.
    void RefillSellerCombo();

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
    void ForgetSellerItems();
    void ShowPrice(const Kramo::Item& item);
    void AppendRow(const Kramo::PurchaseLine& line);
    void UpdateSum();
    std::string SumText() const;
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
    std::unique_ptr<ItemSearchBox> searchBox_;
    std::unique_ptr<FocusOrder> focusOrder_;
};

}  // namespace KramoDialogs
