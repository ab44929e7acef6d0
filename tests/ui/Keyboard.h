#pragma once

#include <gdk/gdk.h>

#include <string>

namespace Gtk {
class Window;
}  // namespace Gtk

namespace KramoTest {

// The keyboard of a desk: real key events through the display to a window shown on screen,
// for the widget that has the cursor. A person's own key presses are counted; a scanner types
// its text in one burst and Enter.
class Keyboard {
  public:
    explicit Keyboard(Gtk::Window& window) : window_(window) {}

    void Press(guint keyval, GdkModifierType modifiers = GdkModifierType(0));
    void Type(const std::string& text);
    void Scan(const std::string& text);
    int Presses() const { return presses_; }

    // A button the keyboard presses (a mnemonic) answers a quarter of a second later.
    static void WaitForButton();

  private:
    void Send(guint keyval, GdkModifierType modifiers);
    static void Drain();

    Gtk::Window& window_;
    int presses_ = 0;
};

}  // namespace KramoTest
