#include "FocusOrder.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/window.h>

namespace KramoDialogs {

FocusOrder::FocusOrder(Gtk::Window& window, std::vector<Gtk::Widget*> widgets)
    : window_(window), widgets_(std::move(widgets)) {
    window_.signal_key_press_event().connect(sigc::mem_fun(*this, &FocusOrder::OnKeyPress), false);
}

int FocusOrder::FocusedPosition() const {
    Gtk::Widget* focused = window_.get_focus();
    if (focused == nullptr) {
        return -1;
    }
    int holder = -1;
    for (std::size_t i = 0; i < widgets_.size(); ++i) {
        if (widgets_[i] == focused) {
            return static_cast<int>(i);
        }
        if (holder == -1 && focused->is_ancestor(*widgets_[i])) {
            holder = static_cast<int>(i);
        }
    }
    return holder;
}

// A widget that cannot take the focus now (an empty combo's button is insensitive) is passed.
bool FocusOrder::OnKeyPress(GdkEventKey* event) {
    const bool forward = event->keyval == GDK_Tab;
    if (!forward && event->keyval != GDK_ISO_Left_Tab) {
        return false;
    }
    const int count = static_cast<int>(widgets_.size());
    const int step = forward ? 1 : count - 1;
    const int position = FocusedPosition();
    int next = position < 0 ? 0 : (position + step) % count;
    for (int tried = 0; tried < count; ++tried, next = (next + step) % count) {
        Gtk::Widget& candidate = *widgets_[static_cast<std::size_t>(next)];
        candidate.grab_focus();
        Gtk::Widget* focused = window_.get_focus();
        if (focused == &candidate || (focused != nullptr && focused->is_ancestor(candidate))) {
            break;
        }
    }
    return true;
}

}  // namespace KramoDialogs
