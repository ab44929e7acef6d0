#pragma once

#include <gtkmm/calendar.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/dialog.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/Timestamp.h"

namespace KramoDialogs {

// "Uzávierka pokladne": which desk and which day the cash-up is made for.
class CashUpDialog {
  public:
    // Runs the dialog modally and answers its response.
    using Runner = std::function<int(CashUpDialog&)>;

    struct Choice {
        std::string desk;
        Kramo::Timestamp day;  // year, month and day
    };

    explicit CashUpDialog(Gtk::Window& parent);

    // Offers the desks with the first chosen, and the day; the choice, or nothing when the
    // user cancels.
    std::optional<Choice> Ask(const std::vector<std::string>& desks, const Kramo::Timestamp& day);

    // Tests answer the dialog instead of a user.
    void SetRunner(Runner runner) { runner_ = std::move(runner); }

    Gtk::ComboBoxText& DeskCombo() { return desks_; }
    Gtk::Calendar& DayCalendar() { return calendar_; }

  private:
    Gtk::Dialog dialog_;
    Gtk::ComboBoxText desks_;
    Gtk::Calendar calendar_;
    Runner runner_;
};

}  // namespace KramoDialogs
