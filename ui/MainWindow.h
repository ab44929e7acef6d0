#pragma once

#include <gtkmm/liststore.h>
#include <libglademm/xml.h>
#include <sigc++/signal.h>

#include <memory>
#include <string>
#include <vector>

#include "register/ItemMarking.h"
#include "register/KramoRegister.h"
#include "register/SellerList.h"
#include "settings/KramoSettings.h"
#include "ui/ComboBoxTextDer.h"
#include "ui/FillingFlag.h"
#include "ui/ItemsColumns.h"
#include "ui/ScanField.h"
#include "ui/StatePictures.h"

namespace Gtk {
class Button;
class Entry;
class Label;
class Menu;
class MenuItem;
class RadioButton;
class TreeView;
class Window;
}  // namespace Gtk

namespace KramoDialogs {

// The main window: choose a seller, see and mark the seller's items, set the seller's state.
class MainWindow {
  public:
    // Takes the widgets of "Register" and its menu; throws std::runtime_error with the
    // building step's text when one is missing.
    MainWindow(const Glib::RefPtr<Gnome::Glade::Xml>& registerXml,
               const Glib::RefPtr<Gnome::Glade::Xml>& menuXml, Kramo::KramoRegister& kramoRegister,
               const Kramo::KramoSettings& settings, FillingFlag& filling);
    ~MainWindow();

    Gtk::Window& Window() { return *window_; }

    void ReloadSellerList();
    void ShowSeller(const Kramo::Seller& seller);
    // Outside the list: no seller is shown and the user is told there is none.
    void ShowSellerAt(std::size_t position);
    // The shown seller read anew from the seller list, with its items as they are now; nothing
    // when no seller is shown or it is gone.
    void ShowCurrentSellerAgain();
    // The shown seller and its items as they are now, when another desk changed them; the
    // selected items stay selected.
    void FollowOtherDesks(const std::vector<Kramo::StoreChange>& changes);
    int CurrentSellerId() const { return currentSellerId_; }
    // Throws "No seller selected." when no seller is shown or it cannot be read.
    Kramo::Seller CurrentSeller() const;
    // After a write that another desk's change or removal refused: the seller list and the
    // shown seller as the store has them now (the first seller when the shown one is gone).
    void ShowStoreAsItIs();
    const Kramo::SellerList& Sellers() const { return sellers_; }

    std::vector<int> RegisterGetSelectedItemIds() const;
    void RemoveSelectedItems();
    // The shown seller with all items, after a question; then the first seller of the list.
    void RemoveShownSeller();
    void RemarkAllItems();
    void ToggleItem(const Glib::ustring& rowPath);
    // Enter in the find field: the item a scan names is shown selected with its seller, and
    // marked when the field works for the hand-in or the return desk; a line beside the field
    // says what was done, or in red why not. The field keeps the cursor, its text selected
    // for the next scan.
    void ScanInFindField();
    // The current seller's statement after the sale, written and handed to the viewer.
    void PrintStatement();
    void PrintLabels();

    // The save dialog for a document: the chosen path, or empty when cancelled.
    std::string AskTargetFile(const std::string& directory, const std::string& suggestedName);

    // Emitted after the seller combos were refilled, for the checkout's own seller combo.
    sigc::signal<void>& SignalSellersRefilled() { return sellersRefilled_; }

    // The widgets later windows and tests work with.
    ComboBoxTextDer& SellerCombo() { return *sellerCombo_; }
    Gtk::Entry& FindEntry() { return *findEntry_; }
    ComboBoxTextDer& ScanModeCombo() { return *scanModeCombo_; }
    Gtk::Label& ScanResultLabel() { return *scanResultLabel_; }
    Gtk::TreeView& ItemView() { return *itemView_; }
    const Glib::RefPtr<Gtk::ListStore>& ItemRows() const { return itemRows_; }
    const ItemsColumns& Columns() const { return columns_; }
    Gtk::Label& SellerTypeLabel() { return *sellerTypeLabel_; }
    Gtk::Label& SellerNoteLabel() { return *sellerNoteLabel_; }
    Gtk::RadioButton& StateButton(int32_t status);
    Gtk::Button& AddSellerButton() { return *addSellerButton_; }
    Gtk::Button& UpdateSellerButton() { return *updateSellerButton_; }
    Gtk::Button& AddItemButton() { return *addItemButton_; }
    Gtk::Button& ModifyItemButton() { return *modifyItemButton_; }
    Gtk::Button& CheckoutButton() { return *checkoutButton_; }
    Gtk::Button& RemoveItemButton() { return *removeItemButton_; }
    Gtk::Button& RemoveSellerButton() { return *removeSellerButton_; }
    Gtk::Button& ToggleAcceptedButton() { return *toggleAcceptedButton_; }
    Gtk::Button& StatementButton() { return *statementButton_; }
    Gtk::Button& LabelsButton() { return *labelsButton_; }

  private:
    void TakeWidgets(const Glib::RefPtr<Gnome::Glade::Xml>& registerXml,
                     const Glib::RefPtr<Gnome::Glade::Xml>& menuXml);
    void BuildItemView();
    void ConnectSignals();
    void RefillSellerCombos();
    void ShowNoSeller();
    void TellThereIsNoSeller();
    void FillItemRows(const std::vector<Kramo::Item>& items,
                      const std::vector<Kramo::ItemCategory>& categories);
    void OnSellerChosen();
    void OnFindTextChanged();
    Kramo::ScanDesk ScanMode() const;
    void OnScanModeChosen();
    void SelectItemRow(int number);
    std::vector<int> SelectedRowItemIds() const;
    void SelectRowsOfItems(const std::vector<int>& itemIds);
    void ShowScanResult(const std::string& text, bool refused);
    void ShowOtherActions();
    void Remark(Kramo::Item item, const Kramo::ItemMarking::Move& move);
    Kramo::DataAccessInterface& Store() const { return kramoRegister_.Store(); }

    Kramo::KramoRegister& kramoRegister_;
    const Kramo::KramoSettings& settings_;
    FillingFlag& filling_;
    Kramo::SellerList sellers_;
    int currentSellerId_ = -1;
    ItemsColumns columns_;
    Glib::RefPtr<Gtk::ListStore> itemRows_;
    StatePictures statePictures_;
    sigc::signal<void> sellersRefilled_;
    sigc::connection noSellerNotice_;  // waits for the window to come on screen

    // Top-level widgets of the description belong to whoever took them.
    std::unique_ptr<Gtk::Window> window_;
    ComboBoxTextDer* sellerCombo_ = nullptr;
    Gtk::Entry* findEntry_ = nullptr;
    ComboBoxTextDer* scanModeCombo_ = nullptr;
    std::unique_ptr<ScanField> findField_;  // over the find entry, which takes scans too
    Gtk::Label* scanResultLabel_ = nullptr;
    Gtk::Button* importSellerButton_ = nullptr;
    Gtk::Button* importFolderButton_ = nullptr;
    Gtk::Button* addSellerButton_ = nullptr;
    Gtk::Button* updateSellerButton_ = nullptr;
    Gtk::Button* removeSellerButton_ = nullptr;
    Gtk::TreeView* itemView_ = nullptr;
    Gtk::Button* addItemButton_ = nullptr;
    Gtk::Button* modifyItemButton_ = nullptr;
    Gtk::Button* removeItemButton_ = nullptr;
    Gtk::Button* toggleAcceptedButton_ = nullptr;
    Gtk::Button* statementButton_ = nullptr;
    Gtk::Button* labelsButton_ = nullptr;
    Gtk::Label* sellerTypeLabel_ = nullptr;
    Gtk::Label* sellerNoteLabel_ = nullptr;
    Gtk::Button* checkoutButton_ = nullptr;
    Gtk::Button* otherActionsButton_ = nullptr;
    std::unique_ptr<Gtk::Menu> otherActionsMenu_;
    Gtk::MenuItem* settingsMenuItem_ = nullptr;
    Gtk::MenuItem* overviewMenuItem_ = nullptr;
    Gtk::MenuItem* statisticsMenuItem_ = nullptr;
    Gtk::RadioButton* notSellingButton_ = nullptr;
    Gtk::RadioButton* sellingButton_ = nullptr;
    Gtk::RadioButton* handedBackButton_ = nullptr;
};

}  // namespace KramoDialogs
