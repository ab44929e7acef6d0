#include "ItemDialog.h"

#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/window.h>

#include <stdexcept>

#include "register/ConcurrentEdits.h"
#include "register/ExceptionHandlers.h"
#include "register/ItemEntryRules.h"
#include "support/FormatText.h"
#include "support/Translation.h"
#include "ui/FieldLook.h"
#include "ui/GuardedAction.h"
#include "ui/MainWindow.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

using Kramo::ItemEntryRules;

// The state entries: the names of Unassigned .. ToTrace, then "?" for Undefined.
constexpr int StatusEntries = Kramo::ItemStatusCount + 1;

}  // namespace

ItemDialog::ItemDialog(Gtk::Window& window, const Glib::RefPtr<Gnome::Glade::Xml>& itemXml,
                       Kramo::KramoRegister& kramoRegister, const Kramo::KramoSettings& settings,
                       MainWindow& mainWindow)
    : window_(window),
      kramoRegister_(kramoRegister),
      mainWindow_(mainWindow),
      checkout_(kramoRegister, settings) {
    WidgetLookup(itemXml, "Dialog file is corrupt [5].")
        .Get("itemName", nameEntry_)
        .Get("itemNumber", numberEntry_)
        .Get("itemPrice", priceEntry_)
        .GetDerived("itemCategoryCombo", categoryCombo_)
        .GetDerived("itemStatus_combobox", statusCombo_)
        .Get("itemButton_ok", okButton_)
        .Get("itemButton_cancel", cancelButton_)
        .Check();
    okButton_->signal_clicked().connect(Guarded([this] { ConfirmItemDialog(); }));
    cancelButton_->signal_clicked().connect(Guarded([this] { CancelItemDialog(); }));
    window_.signal_delete_event().connect([this](GdkEventAny*) {
        CancelItemDialog();
        return true;  // hidden, kept for the next use
    });
}

void ItemDialog::RegisterStartDialogEditProduct(int itemId) {
    if (itemId == -1) {
        item_ = Kramo::Item();
        item_.NAME = _("Názov");
        item_.ITEM_CATEGORY_ID = 0;
        item_.STATUS = Kramo::InStock;
        item_.SELLER_ID = mainWindow_.CurrentSellerId();
    } else {
        try {
            item_ = Store().GetItem(itemId);
        } catch (const Kramo::WrongItemException&) {
            throw std::runtime_error(
                "KramoDialogs::RegisterStartDialogEditProduct item not in list");
        }
    }
    nameEntry_->set_text(item_.NAME);
    numberEntry_->set_text(std::to_string(item_.NUMBER));
    priceEntry_->set_text(Kramo::FormatText("%0.2f", item_.PRICE));
    FillCombos();
    ReadDialogSeller();
    window_.show();
    window_.present();
    for (Gtk::Entry* field : {nameEntry_, priceEntry_, numberEntry_}) {
        FieldLook::Normal(*field);
    }
    // Each item of a series starts with its name, selected so that typing replaces it.
    nameEntry_->grab_focus();
}

void ItemDialog::FillCombos() {
    statusCombo_->ClearItems();
    for (int status = 0; status < StatusEntries; ++status) {
        statusCombo_->AppendText(Kramo::ItemStatusDisplayName(status));
    }
    if (item_.STATUS >= 0 && item_.STATUS < StatusEntries) {
        statusCombo_->set_active(item_.STATUS);
    } else {
        statusCombo_->unset_active();
    }

    categoryCombo_->ClearItems();
    int active = 0;
    int position = 0;
    bool found = false;
    for (const Kramo::ItemCategory& category : Store().GetItemCategories()) {
        categoryCombo_->AppendText(category.NAME);
        if (!found && category.ID == item_.ITEM_CATEGORY_ID) {
            active = position;
            found = true;
        }
        ++position;
    }
    if (position > 0) {
        categoryCombo_->set_active(active);
    }
}

void ItemDialog::ReadDialogSeller() {
    try {
        seller_ = Store().GetSeller(item_.SELLER_ID);
    } catch (const std::exception& failure) {
        Kramo::HandleException(failure);
    }
}

bool ItemDialog::CorrectFields() {
    bool correct = true;
    const auto propose = [&correct](Gtk::Entry& field, const std::optional<std::string>& text) {
        if (text) {
            field.set_text(*text);
            FieldLook::Warning(field);
            correct = false;
        }
    };
    propose(*nameEntry_, ItemEntryRules::CorrectedName(nameEntry_->get_text()));
    propose(*priceEntry_, ItemEntryRules::CorrectedPrice(priceEntry_->get_text()));
    // Also turns 05 into 5: the field shows the number as it will be stored.
    const std::string number =
        ItemEntryRules::NumberToStore(checkout_, item_, numberEntry_->get_text());
    propose(*numberEntry_,
            number != numberEntry_->get_text() ? std::optional(number) : std::nullopt);
    return correct;
}

void ItemDialog::ConfirmItemDialog() {
    for (Gtk::Entry* field : {nameEntry_, numberEntry_, priceEntry_}) {
        FieldLook::Normal(*field);
    }
    if (!CorrectFields()) {
        return;
    }
    window_.hide();
    TakeFields();
    StoreItem();
}

void ItemDialog::TakeFields() {
    item_.NAME = nameEntry_->get_text();
    item_.NUMBER = ItemEntryRules::NumberOf(numberEntry_->get_text());
    item_.PRICE = ItemEntryRules::PriceOf(priceEntry_->get_text());
    if (const int status = statusCombo_->get_active_row_number(); status >= 0) {
        item_.STATUS = status;
    }
    const int category = categoryCombo_->get_active_row_number();
    const std::vector<Kramo::ItemCategory> categories = Store().GetItemCategories();
    if (category >= 0 && static_cast<std::size_t>(category) < categories.size() &&
        categories[static_cast<std::size_t>(category)].ID != -1) {
        item_.ITEM_CATEGORY_ID = categories[static_cast<std::size_t>(category)].ID;
    }
}

void ItemDialog::StoreItem() {
    const Kramo::Seller seller = seller_;
    if (item_.ID == -1) {
        Store().AddItem(item_, seller.ID);
        RegisterStartDialogEditProduct(-1);  // the next item of the same seller
    } else {
        try {
            Store().ModifyItem(item_.ID, item_);
        } catch (const Kramo::RecordChangedException&) {
            // The edit was made on what another desk has changed since: the user sees the
            // item as it is now and may edit that.
            mainWindow_.ShowStoreAsItIs();
            RegisterStartDialogEditProduct(item_.ID);
            Kramo::TellChangedElsewhere(Kramo::EditedRecord::Item);
            return;
        } catch (const Kramo::WrongItemException&) {
            CancelItemDialog();
            mainWindow_.ShowStoreAsItIs();
            Kramo::TellRemovedElsewhere(Kramo::EditedRecord::Item);
            return;
        }
    }
    mainWindow_.ShowSeller(seller);
}

void ItemDialog::CancelItemDialog() {
    window_.hide();
    item_.ID = -1;
    seller_.ID = -1;
}

}  // namespace KramoDialogs
