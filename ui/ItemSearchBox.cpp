#include "ItemSearchBox.h"

#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/liststore.h>

#include "support/FormatText.h"
#include "support/Translation.h"
#include "ui/GuardedAction.h"
#include "ui/WidgetLookup.h"

namespace KramoDialogs {
namespace {

// The box shows at most this many as a count; more get " +".
constexpr int CountShown = 60;

std::string HitText(const Kramo::ItemSearch& search, const Kramo::Item& item) {
    const Kramo::Seller* seller = search.SellerOf(item.SELLER_ID);
    const std::string code = seller != nullptr ? seller->SHORT_CODE : std::string();
    return code + " - " + std::to_string(item.NUMBER) + " - " + item.NAME + " - " +
           Kramo::FormatText("%0.2f", item.PRICE) + " - " +
           Kramo::ItemStatusDisplayName(item.STATUS);
}

}  // namespace

ItemSearchBox::ItemSearchBox(const Glib::RefPtr<Gnome::Glade::Xml>& checkoutXml,
                             const Kramo::ItemSearch& search)
    : search_(search) {
    WidgetLookup(checkoutXml, "Dialog file is corrupt [4].")
        .Get("comboboxentry_search", box_)
        .Get("search_found_text", foundLabel_)
        .Check();
    TextEntry().signal_changed().connect(Guarded([this] { OnTextChanged(); }));
    box_->signal_changed().connect(Guarded([this] { OnHitChosen(); }));
}

Gtk::Entry& ItemSearchBox::TextEntry() {
    return *box_->get_entry();
}

// The text model libglade makes for a box with an "items" property.
Glib::RefPtr<Gtk::ListStore> ItemSearchBox::Rows() const {
    return Glib::RefPtr<Gtk::ListStore>::cast_dynamic(box_->get_model());
}

// Taking a hit writes its text into the entry first: that is no new search.
void ItemSearchBox::OnTextChanged() {
    if (box_->get_active_row_number() < 0) {
        SearchItems();
    }
}

void ItemSearchBox::OnHitChosen() {
    const int row = box_->get_active_row_number();
    if (row >= 0 && static_cast<std::size_t>(row) < hits_.size()) {
        hitChosen_.emit(hits_[static_cast<std::size_t>(row)]);
    }
}

void ItemSearchBox::ClearHits() {
    Rows()->clear();
    hits_.clear();
    foundLabel_->set_text("");
}

// The emptied text searches for nothing; the hits are cleared after it, count label included.
void ItemSearchBox::Clear() {
    TextEntry().set_text("");
    ClearHits();
}

void ItemSearchBox::Refresh() {
    if (!hits_.empty() && box_->get_active_row_number() < 0) {
        SearchItems();
    }
}

void ItemSearchBox::SearchItems() {
    ClearHits();
    hits_ = search_.FindItems(TextEntry().get_text());
    const int count = static_cast<int>(hits_.size());
    foundLabel_->set_text(Kramo::FormatText(_("Nájdených: %i"), std::min(count, CountShown)) +
                          (count > CountShown ? " +" : ""));
    for (const Kramo::Item& item : hits_) {
        Rows()->append()->set_value(0, Glib::ustring(HitText(search_, item)));
    }
}

}  // namespace KramoDialogs
