#include "FieldLook.h"

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

}  // namespace KramoDialogs
