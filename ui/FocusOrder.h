#pragma once

#include <vector>

#include <gdk/gdk.h>

namespace Gtk {
class Widget;
class Window;
}  // namespace Gtk

namespace KramoDialogs {

// Tab and Shift+Tab move through the given widgets in their order, wherever in the window's
// containers they sit (the toolkit's own focus chains work one container at a time).
class FocusOrder {
  public:
    FocusOrder(Gtk::Window& window, std::vector<Gtk::Widget*> widgets);

  private:
    bool OnKeyPress(GdkEventKey* event);
    // The position of the focused widget, or of the widget that holds it; -1 for neither.
    int FocusedPosition() const;

    Gtk::Window& window_;
    std::vector<Gtk::Widget*> widgets_;
};

}  // namespace KramoDialogs
