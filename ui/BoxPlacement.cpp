#include "BoxPlacement.h"

#include <gtkmm/window.h>

namespace KramoDialogs {
namespace {

// The program's windows on screen: menus and tooltips own no box.
bool IsShownWindow(GtkWindow* window) {
    return gtk_widget_get_visible(GTK_WIDGET(window)) &&
           gtk_window_get_window_type(window) == GTK_WINDOW_TOPLEVEL;
}

}  // namespace

void BoxPlacement::Place(Gtk::Window& box) const {
    GtkWindow* owner = Owner(box);
    box.set_modal(true);
    gtk_window_set_transient_for(box.gobj(), owner);
    box.set_position(owner != nullptr ? Gtk::WIN_POS_CENTER_ON_PARENT : Gtk::WIN_POS_CENTER);
}

GtkWindow* BoxPlacement::Owner(const Gtk::Window& box) const {
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* active = nullptr;
    GtkWindow* modal = nullptr;
    for (GList* node = windows; node != nullptr; node = node->next) {
        GtkWindow* window = GTK_WINDOW(node->data);
        if (window == box.gobj() || !IsShownWindow(window)) {
            continue;
        }
        if (gtk_window_is_active(window)) {
            active = window;
        } else if (gtk_window_get_modal(window)) {
            modal = window;
        }
    }
    g_list_free(windows);
    if (active != nullptr) {
        return active;
    }
    if (modal != nullptr) {
        return modal;
    }
    return mainWindow_ != nullptr && mainWindow_->get_visible() ? mainWindow_->gobj() : nullptr;
}

}  // namespace KramoDialogs
