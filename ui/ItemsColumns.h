#pragma once

#include <gdkmm/pixbuf.h>
#include <gtkmm/treemodelcolumn.h>
#include <gtkmm/treeview.h>

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

    // The item lists' columns stay in place and can be widened; one takes the spare width.
    static void ArrangeColumns(Gtk::TreeView& view, int expandingColumn) {
        for (Gtk::TreeViewColumn* column : view.get_columns()) {
            column->set_reorderable(false);
            column->set_resizable(true);
        }
        view.get_column(expandingColumn)->set_expand(true);
    }
};

}  // namespace KramoDialogs
