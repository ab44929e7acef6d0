#include "CashUpDialog.h"

#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/stock.h>

#include "support/Translation.h"

namespace KramoDialogs {

CashUpDialog::CashUpDialog(Gtk::Window& parent)
    : dialog_(_("Uzávierka pokladne"), parent, true),
      runner_([](CashUpDialog& dialog) { return dialog.dialog_.run(); }) {
    Gtk::VBox& content = *dialog_.get_vbox();
    content.set_spacing(6);
    auto* deskLabel = Gtk::manage(new Gtk::Label(_("_Pokladňa:"), 0.0f, 0.5f, true));
    deskLabel->set_mnemonic_widget(desks_);
    auto* dayLabel = Gtk::manage(new Gtk::Label(_("_Deň:"), 0.0f, 0.5f, true));
    dayLabel->set_mnemonic_widget(calendar_);
    content.pack_start(*deskLabel, Gtk::PACK_SHRINK);
    content.pack_start(desks_, Gtk::PACK_SHRINK);
    content.pack_start(*dayLabel, Gtk::PACK_SHRINK);
    content.pack_start(calendar_, Gtk::PACK_SHRINK);
    dialog_.add_button(Gtk::Stock::CANCEL, Gtk::RESPONSE_CANCEL);
    dialog_.add_button(_("_Vytvoriť"), Gtk::RESPONSE_OK);
    dialog_.set_default_response(Gtk::RESPONSE_OK);
    content.show_all();
}

std::optional<CashUpDialog::Choice> CashUpDialog::Ask(const std::vector<std::string>& desks,
                                                      const Kramo::Timestamp& day) {
    desks_.clear_items();
    for (const std::string& desk : desks) {
        desks_.append_text(desk);
    }
    desks_.set_active(0);
    calendar_.select_month(static_cast<guint>(day.Month - 1), static_cast<guint>(day.Year));
    calendar_.select_day(static_cast<guint>(day.Day));
    desks_.grab_focus();
    const int response = runner_(*this);
    dialog_.hide();
    const int chosen = desks_.get_active_row_number();
    if (response != Gtk::RESPONSE_OK || chosen < 0 || chosen >= static_cast<int>(desks.size())) {
        return std::nullopt;
    }
    Choice choice;
    choice.desk = desks[static_cast<std::size_t>(chosen)];
    guint year = 0;
    guint month = 0;
    guint dayOfMonth = 0;
    calendar_.get_date(year, month, dayOfMonth);
    choice.day.Year = static_cast<int32_t>(year);
    choice.day.Month = static_cast<int32_t>(month) + 1;
    choice.day.Day = static_cast<int32_t>(dayOfMonth);
    return choice;
}

}  // namespace KramoDialogs
