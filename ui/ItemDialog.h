#pragma once

#include <libglademm/xml.h>

#include "core/Item.h"
#include "core/Seller.h"
#include "register/Checkout.h"
#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"
#include "ui/ComboBoxTextDer.h"

namespace Gtk {
class Button;
class Entry;
class Window;
}  // namespace Gtk

namespace KramoDialogs {

class MainWindow;

// The dialog "Tovar": one item of a seller, new or stored, entered or corrected by hand.
class ItemDialog {
  public:
    // Takes the children of "Tovar"; throws the building step's text when one is missing.
    ItemDialog(Gtk::Window& window, const Glib::RefPtr<Gnome::Glade::Xml>& itemXml,
               Kramo::KramoRegister& kramoRegister, const Kramo::KramoSettings& settings,
               MainWindow& mainWindow);

    // -1 opens a new item of the main window's seller. An item the store does not have throws
    // "KramoDialogs::RegisterStartDialogEditProduct item not in list".
    void RegisterStartDialogEditProduct(int itemId);
    // Corrects and marks wrong fields, or stores the item (and opens the next new one).
    void ConfirmItemDialog();
    void CancelItemDialog();

    const Kramo::Item& DialogItem() const { return item_; }

    Gtk::Window& Window() { return window_; }
    Gtk::Entry& NameEntry() { return *nameEntry_; }
    Gtk::Entry& NumberEntry() { return *numberEntry_; }
    Gtk::Entry& PriceEntry() { return *priceEntry_; }
    ComboBoxTextDer& CategoryCombo() { return *categoryCombo_; }
    ComboBoxTextDer& StatusCombo() { return *statusCombo_; }
    Gtk::Button& OkButton() { return *okButton_; }
    Gtk::Button& CancelButton() { return *cancelButton_; }

  private:
    void FillCombos();
    void ReadDialogSeller();
    // True when the fields need no correction; corrected fields are filled in and marked.
    bool CorrectFields();
    void TakeFields();
    void StoreItem();
    Kramo::DataAccessInterface& Store() const { return kramoRegister_.Store(); }

    Gtk::Window& window_;
    Kramo::KramoRegister& kramoRegister_;
    MainWindow& mainWindow_;
    Kramo::Checkout checkout_;
    Kramo::Item item_;
    Kramo::Seller seller_;

    Gtk::Entry* nameEntry_ = nullptr;
    Gtk::Entry* numberEntry_ = nullptr;
    Gtk::Entry* priceEntry_ = nullptr;
    ComboBoxTextDer* categoryCombo_ = nullptr;
    ComboBoxTextDer* statusCombo_ = nullptr;
    Gtk::Button* okButton_ = nullptr;
    Gtk::Button* cancelButton_ = nullptr;
};

}  // namespace KramoDialogs
