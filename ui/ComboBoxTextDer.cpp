#include "ComboBoxTextDer.h"

namespace KramoDialogs {

ComboBoxTextDer::ComboBoxTextDer(BaseObjectType* object,
                                 const Glib::RefPtr<Gnome::Glade::Xml>& /*xml*/)
    : Gtk::ComboBox(object), store_(Gtk::ListStore::create(columns_)) {
    set_model(store_);
    textCell_ = Gtk::manage(new Gtk::CellRendererText());
    pack_start(*textCell_);
    add_attribute(textCell_->property_text(), columns_.text);
}

void ComboBoxTextDer::LimitWidth(int characters) {
    textCell_->property_ellipsize() = Pango::ELLIPSIZE_END;
    textCell_->property_width_chars() = characters;
}

void ComboBoxTextDer::AppendText(const std::string& text) {
    (*store_->append())[columns_.text] = text;
}

void ComboBoxTextDer::ClearItems() {
    store_->clear();
}

std::string ComboBoxTextDer::ActiveText() const {
    const Gtk::TreeModel::const_iterator row = get_active();
    return row ? Glib::ustring((*row)[columns_.text]).raw() : std::string();
}

int ComboBoxTextDer::ItemCount() const {
    return static_cast<int>(store_->children().size());
}

}  // namespace KramoDialogs
