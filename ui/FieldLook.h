#pragma once

namespace Gtk {
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
};

}  // namespace KramoDialogs
