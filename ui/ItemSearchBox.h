#pragma once

#include <gtkmm/liststore.h>
#include <libglademm/xml.h>
#include <sigc++/signal.h>

#include <vector>

#include "core/ItemSearch.h"

namespace Gtk {
class ComboBoxEntry;
class Entry;
class Label;
}  // namespace Gtk

namespace KramoDialogs {

// The checkout's item search: the text typed into the search box finds items by words of
// their names or their price; the hits drop down below it and one can be taken.
class ItemSearchBox {
  public:
    // Takes "comboboxentry_search" and "search_found_text"; throws the building step's text
    // when one is missing.
    ItemSearchBox(const Glib::RefPtr<Gnome::Glade::Xml>& checkoutXml,
                  const Kramo::ItemSearch& search);

    // Runs the search with the text of the box's entry.
    void SearchItems();
    // The hits shown read again from the search's snapshot, after it changed; not once one
    // was taken, as its text then stands in the entry.
    void Refresh();
    void Clear();

    // Emitted with the hit the user took.
    sigc::signal<void, const Kramo::Item&>& SignalHitChosen() { return hitChosen_; }

    Gtk::ComboBoxEntry& Box() { return *box_; }
    Gtk::Entry& TextEntry();
    Gtk::Label& FoundLabel() { return *foundLabel_; }
    const std::vector<Kramo::Item>& Hits() const { return hits_; }

  private:
    void OnTextChanged();
    void OnHitChosen();
    void ClearHits();
    Glib::RefPtr<Gtk::ListStore> Rows() const;

    const Kramo::ItemSearch& search_;
    Gtk::ComboBoxEntry* box_ = nullptr;
    Gtk::Label* foundLabel_ = nullptr;
    std::vector<Kramo::Item> hits_;
    sigc::signal<void, const Kramo::Item&> hitChosen_;
};

}  // namespace KramoDialogs
