#pragma once

#include <gdk/gdk.h>
#include <sigc++/trackable.h>

#include "ui/FillingFlag.h"

namespace Gtk {
class Entry;
}  // namespace Gtk

namespace KramoDialogs {

// A field a scanner types into: after a scan that stays in it (refused, or only shown), its
// text is selected and the next character typed replaces it. The selection alone does not
// hold: the toolkit drops it when another program takes the selection over, and the next
// scan would be added to the old text.
class ScanField : public sigc::trackable {
  public:
    // The filling flag is set while the field is emptied: no text the user typed.
    ScanField(Gtk::Entry& field, FillingFlag& filling);

    void SelectForNextScan();

  private:
    bool OnKey(GdkEventKey* event);

    Gtk::Entry& field_;
    FillingFlag& filling_;
    bool replaceNext_ = false;
};

}  // namespace KramoDialogs
