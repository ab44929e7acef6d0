#pragma once

namespace Gtk {
class Label;
class Widget;
}  // namespace Gtk

namespace KramoDialogs {

// How a field looks: normal, or marked as holding input that was corrected and waits for the
// user's second look (warning colours and the toolkit's highlight frame).
class FieldLook {
  public:
    static constexpr const char* NormalBackground = "black";
    static constexpr const char* NormalBase = "white";
    static constexpr const char* WarningBackground = "red";
    static constexpr const char* WarningBase = "pink";

    static void Normal(Gtk::Widget& field);
    static void Warning(Gtk::Widget& field);
    // A label that says in red why a scan was refused, normal otherwise; one in an event box
    // is painted whole, as the box shows the base colour behind the text.
    static void Label(Gtk::Label& label, bool warning);
    // The display's bell, for a refusal the eyes may miss.
    static void Beep(Gtk::Widget& widget);
};

}  // namespace KramoDialogs
