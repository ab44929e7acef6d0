#pragma once

#include <gdkmm/pixbuf.h>
#include <gtkmm/treemodelcolumn.h>

namespace KramoDialogs {

// The columns of the item lists of the main window and the checkout.
class ItemsColumns : public Gtk::TreeModel::ColumnRecord {
  public:
    ItemsColumns() {
        add(number);
        add(name);
        add(price);
        add(category);
        add(state);
        add(sellerId);
        add(itemId);
        add(statePicture);
        add(accepted);
    }

    Gtk::TreeModelColumn<Glib::ustring> number;
    Gtk::TreeModelColumn<Glib::ustring> name;
    Gtk::TreeModelColumn<Glib::ustring> price;
    Gtk::TreeModelColumn<Glib::ustring> category;
    Gtk::TreeModelColumn<Glib::ustring> state;
    Gtk::TreeModelColumn<int> sellerId;  // filled by the checkout only
    Gtk::TreeModelColumn<int> itemId;
    Gtk::TreeModelColumn<Glib::RefPtr<Gdk::Pixbuf>> statePicture;
    Gtk::TreeModelColumn<bool> accepted;
};

}  // namespace KramoDialogs
