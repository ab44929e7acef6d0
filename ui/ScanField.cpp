#include "ScanField.h"

#include <gtkmm/entry.h>

namespace KramoDialogs {

ScanField::ScanField(Gtk::Entry& field, FillingFlag& filling) : field_(field), filling_(filling) {
    field_.signal_key_press_event().connect(sigc::mem_fun(*this, &ScanField::OnKey), false);
    field_.signal_button_press_event().connect(
        [this](GdkEventButton*) {
            replaceNext_ = false;  // clicked into the text to mend it
            return false;
        },
        false);
}

void ScanField::SelectForNextScan() {
    field_.select_region(0, -1);
    replaceNext_ = true;
}

bool ScanField::OnKey(GdkEventKey* event) {
    const bool typesCharacter = g_unichar_isprint(gdk_keyval_to_unicode(event->keyval)) &&
                                (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) == 0;
    if (replaceNext_ && typesCharacter) {
        FillingFlag::Scope filling(filling_);
        field_.set_text("");
    }
    replaceNext_ = false;
    return false;
}

}  // namespace KramoDialogs
