#pragma once

#include <gtk/gtk.h>

namespace Gtk {
class Window;
}  // namespace Gtk

namespace KramoDialogs {

// Where a message box or the text prompt opens: modal to the window it belongs to and centred
// on it. That is the window the user works in, else a modal dialog on screen, else the main
// window once it is shown; with none of them the box is centred on the screen.
class BoxPlacement {
  public:
    // The main window is known only after the windows were built.
    void SetMainWindow(Gtk::Window* mainWindow) { mainWindow_ = mainWindow; }

    void Place(Gtk::Window& box) const;

  private:
    GtkWindow* Owner(const Gtk::Window& box) const;

    Gtk::Window* mainWindow_ = nullptr;
};

}  // namespace KramoDialogs
