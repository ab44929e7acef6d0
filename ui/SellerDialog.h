#pragma once

#include <libglademm/xml.h>

#include <string>
#include <vector>

#include "core/Seller.h"
#include "core/SellerCategory.h"
#include "register/KramoRegister.h"
#include "ui/ComboBoxTextDer.h"

namespace Gtk {
class Button;
class Entry;
class Window;
}  // namespace Gtk

namespace KramoDialogs {

class ItemDialog;
class MainWindow;

// The dialog "Predajca": a seller's name, code, note and category, new or stored.
class SellerDialog {
  public:
    // Takes the children of "Predajca"; throws the building step's text when one is missing.
    SellerDialog(Gtk::Window& window, const Glib::RefPtr<Gnome::Glade::Xml>& sellerXml,
                 Kramo::KramoRegister& kramoRegister, MainWindow& mainWindow,
                 ItemDialog& itemDialog);

    // -1 opens a new seller.
    void OpenSellerDialog(int sellerId);
    // Proposes a name or a free code and waits, or stores the seller; a new seller's first
    // item follows at once.
    void ConfirmSellerDialog();

    Gtk::Window& Window() { return window_; }
    Gtk::Entry& NameEntry() { return *nameEntry_; }
    Gtk::Entry& CodeEntry() { return *codeEntry_; }
    Gtk::Entry& NoteEntry() { return *noteEntry_; }
    ComboBoxTextDer& CategoryCombo() { return *categoryCombo_; }
    Gtk::Button& OkButton() { return *okButton_; }
    Gtk::Button& CancelButton() { return *cancelButton_; }

  private:
    void ReadDialogSeller(int sellerId);
    void FillFields();
    void TakeFields();
    void StoreSeller();
    void WriteSeller();
    Kramo::DataAccessInterface& Store() const { return kramoRegister_.Store(); }

    Gtk::Window& window_;
    Kramo::KramoRegister& kramoRegister_;
    MainWindow& mainWindow_;
    ItemDialog& itemDialog_;
    Kramo::Seller seller_;
    std::vector<Kramo::SellerCategory> categories_;

    Gtk::Entry* nameEntry_ = nullptr;
    Gtk::Entry* codeEntry_ = nullptr;
    Gtk::Entry* noteEntry_ = nullptr;
    ComboBoxTextDer* categoryCombo_ = nullptr;
    Gtk::Button* okButton_ = nullptr;
    Gtk::Button* cancelButton_ = nullptr;
};

}  // namespace KramoDialogs
