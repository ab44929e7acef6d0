#pragma once

#include <gtkmm/cellrenderertext.h>
#include <gtkmm/combobox.h>
#include <gtkmm/liststore.h>
#include <libglademm/xml.h>

#include <string>

namespace KramoDialogs {

// A combo box of plain texts over a combo box of the window description.
class ComboBoxTextDer : public Gtk::ComboBox {
  public:
    ComboBoxTextDer(BaseObjectType* object, const Glib::RefPtr<Gnome::Glade::Xml>& xml);

    void AppendText(const std::string& text);
    void ClearItems();
    std::string ActiveText() const;
    int ItemCount() const;
    // Long texts are cut with "…": the box asks for the room of this many characters only, so
    // that a long name cannot widen its window.
    void LimitWidth(int characters);

  private:
    struct Columns : Gtk::TreeModel::ColumnRecord {
        Columns() { add(text); }
        Gtk::TreeModelColumn<Glib::ustring> text;
    };

    Columns columns_;
    Glib::RefPtr<Gtk::ListStore> store_;
    Gtk::CellRendererText* textCell_ = nullptr;  // owned by the box
};

}  // namespace KramoDialogs
