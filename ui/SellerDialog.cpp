#include "SellerDialog.h"

#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/window.h>

#include <algorithm>

#include "register/ConcurrentEdits.h"
#include "register/ExceptionHandlers.h"
#include "support/FormatStream.h"
#include "support/Translation.h"
#include "support/UserMessages.h"
#include "ui/FieldLook.h"
#include "ui/GuardedAction.h"
#include "ui/ItemDialog.h"
#include "ui/MainWindow.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

constexpr const char* NewSellerName = N_("Nový predajca");

}  // namespace

SellerDialog::SellerDialog(Gtk::Window& window, const Glib::RefPtr<Gnome::Glade::Xml>& sellerXml,
                           Kramo::KramoRegister& kramoRegister, MainWindow& mainWindow,
                           ItemDialog& itemDialog)
    : window_(window),
      kramoRegister_(kramoRegister),
      mainWindow_(mainWindow),
      itemDialog_(itemDialog) {
    WidgetLookup(sellerXml, "Dialog file is corrupt [6=Seller edit].")
        .Get("sellerName", nameEntry_)
        .Get("sellerCode", codeEntry_)
        .Get("sellerNote", noteEntry_)
        .GetDerived("sellerCategory", categoryCombo_)
        .Get("sellerButton_ok", okButton_)
        .Get("sellerButton_cancel", cancelButton_)
        .Check();
    okButton_->signal_clicked().connect(Guarded([this] { ConfirmSellerDialog(); }));
    cancelButton_->signal_clicked().connect([this] { window_.hide(); });
    window_.signal_delete_event().connect([this](GdkEventAny*) {
        window_.hide();
        return true;  // hidden, kept for the next use
    });
}

void SellerDialog::OpenSellerDialog(int sellerId) {
    categories_ = Store().GetSellerCategories();
    ReadDialogSeller(sellerId);
    FillFields();
    for (Gtk::Entry* field : {nameEntry_, codeEntry_, noteEntry_}) {
        FieldLook::Normal(*field);
    }
    window_.show();
    window_.present();
    nameEntry_->grab_focus();
}

void SellerDialog::ReadDialogSeller(int sellerId) {
    seller_ = Kramo::Seller();
    if (sellerId == -1) {
        seller_.NAME = _(NewSellerName);
        seller_.SELLER_CATEGORY_ID = categories_.empty() ? -1 : categories_.front().ID;
        return;
    }
    try {
        seller_ = Store().GetSeller(sellerId);
    } catch (const std::exception& failure) {
        Kramo::HandleException(failure);
        // Still this seller: confirming must not make a second one.
        seller_.ID = sellerId;
    }
    Store().MarkSellerChanging(sellerId);
}

void SellerDialog::FillFields() {
    nameEntry_->set_text(seller_.NAME);
    codeEntry_->set_text(seller_.SHORT_CODE);
    noteEntry_->set_text(seller_.COMMENT);
    categoryCombo_->ClearItems();
    for (const Kramo::SellerCategory& category : categories_) {
        categoryCombo_->AppendText(category.NAME);
    }
    if (categories_.empty()) {
        return;
    }
    const auto active = std::find_if(categories_.begin(), categories_.end(),
                                     [this](const Kramo::SellerCategory& category) {
                                         return category.ID == seller_.SELLER_CATEGORY_ID;
                                     });
    categoryCombo_->set_active(
        active == categories_.end() ? 0 : static_cast<int>(active - categories_.begin()));
}

void SellerDialog::ConfirmSellerDialog() {
    if (nameEntry_->get_text().empty()) {
        nameEntry_->set_text(_(NewSellerName));
        FieldLook::Warning(*nameEntry_);
        return;
    }
    const std::string typed = codeEntry_->get_text();
    // Proposed from the name as typed: a new seller opens with a placeholder name.
    const std::string code = Store().GenerateSellerCode(nameEntry_->get_text(), typed, seller_.ID);
    if (code != typed) {
        seller_.SHORT_CODE = code;
        codeEntry_->set_text(code);
        FieldLook::Warning(*codeEntry_);
        return;
    }
    TakeFields();
    window_.hide();
    StoreSeller();
}

void SellerDialog::TakeFields() {
    seller_.NAME = nameEntry_->get_text();
    seller_.COMMENT = noteEntry_->get_text();
    seller_.SHORT_CODE = codeEntry_->get_text();
    const int category = categoryCombo_->get_active_row_number();
    if (category >= 0 && static_cast<std::size_t>(category) < categories_.size()) {
        seller_.SELLER_CATEGORY_ID = categories_[static_cast<std::size_t>(category)].ID;
    }
}

void SellerDialog::StoreSeller() {
    const bool isNew = seller_.ID == -1;
    try {
        WriteSeller();
    } catch (const Kramo::RecordChangedException&) {
        mainWindow_.ShowStoreAsItIs();
        OpenSellerDialog(seller_.ID);  // the seller as it is now
        Kramo::TellChangedElsewhere(Kramo::EditedRecord::Seller);
        return;
    } catch (const Kramo::WrongSellerException&) {
        mainWindow_.ShowStoreAsItIs();
        Kramo::TellRemovedElsewhere(Kramo::EditedRecord::Seller);
        return;
    }
    mainWindow_.ReloadSellerList();
    try {
        mainWindow_.ShowSeller(Store().GetSellerByCode(seller_.SHORT_CODE));
    } catch (const Kramo::WrongSellerException&) {
        // Not found again: the main window keeps what it shows.
    }
    if (isNew) {
        itemDialog_.RegisterStartDialogEditProduct(-1);
    }
}

// A code free when checked may be taken by another desk before the write: then the seller
// gets the next free one, and the user is told which.
void SellerDialog::WriteSeller() {
    const auto write = [this] {
        if (seller_.ID == -1) {
            Store().AddSeller(seller_);
        } else {
            Store().UpdateSeller(seller_.ID, seller_);
        }
    };
    try {
        write();
    } catch (const Kramo::SellerCodeTakenException& taken) {
        seller_.SHORT_CODE = Store().GenerateSellerCode(seller_.NAME, taken.Code(), seller_.ID);
        write();
        Kramo::ShowInfoBox((Kramo::FormatStream(_("Kód %s medzitým dostal iný predajca na inej "
                                                  "pokladni. Predajca %s má kód %s."))
                            << taken.Code() << seller_.NAME << seller_.SHORT_CODE)
                               .str(),
                           _("Kód predajcu"));
    }
}

}  // namespace KramoDialogs
