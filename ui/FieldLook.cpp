#include "FieldLook.h"

#include <gtkmm/eventbox.h>
#include <gtkmm/label.h>
#include <gtkmm/widget.h>

namespace KramoDialogs {
namespace {

void Paint(Gtk::Widget& field, const char* background, const char* base) {
    field.modify_bg(Gtk::STATE_NORMAL, Gdk::Color(background));
    field.modify_base(Gtk::STATE_NORMAL, Gdk::Color(base));
}

}  // namespace

void FieldLook::Normal(Gtk::Widget& field) {
    Paint(field, NormalBackground, NormalBase);
    field.drag_unhighlight();
}

void FieldLook::Warning(Gtk::Widget& field) {
    Paint(field, WarningBackground, WarningBase);
    field.drag_unhighlight();  // the frame is drawn once however often a field is marked
    field.drag_highlight();
}

void FieldLook::Label(Gtk::Label& label, bool warning) {
    if (warning) {
        Warning(label);
    } else {
        Normal(label);
    }
    if (Gtk::Widget* box = label.get_parent(); dynamic_cast<Gtk::EventBox*>(box)) {
        box->modify_bg(Gtk::STATE_NORMAL, Gdk::Color(warning ? WarningBase : NormalBase));
    }
}

void FieldLook::Beep(Gtk::Widget& widget) {
    if (const Glib::RefPtr<Gdk::Window> window = widget.get_window()) {
        window->beep();
    }
}

}  // namespace KramoDialogs
