#include "GtkUserMessages.h"

#include <gtkmm/dialog.h>
#include <gtkmm/messagedialog.h>

#include "support/Translation.h"

namespace KramoDialogs {

GtkUserMessages::GtkUserMessages(std::unique_ptr<TextPrompt> prompt) : prompt_(std::move(prompt)) {}

void GtkUserMessages::ShowErrorBox(const std::string& detail, const std::string& primary) {
    Gtk::MessageDialog box(primary.empty() ? _("error") : primary, false, Gtk::MESSAGE_INFO,
                           Gtk::BUTTONS_OK, true);
    box.set_secondary_text(detail);
    placement_.Place(box);
    box.run();
}

void GtkUserMessages::ShowInfoBox(const std::string& message, const std::string& title) {
    Gtk::MessageDialog box(message, false, Gtk::MESSAGE_QUESTION, Gtk::BUTTONS_OK, true);
    box.set_title(title);
    box.set_secondary_text(title);
    placement_.Place(box);
    box.run();
}

bool GtkUserMessages::AskQuestion(const std::string& message, const std::string& title) {
    Gtk::MessageDialog box(message, false, Gtk::MESSAGE_QUESTION, Gtk::BUTTONS_YES_NO, true);
    box.set_title(title);
    box.set_secondary_text(title);
    placement_.Place(box);
    return box.run() == Gtk::RESPONSE_YES;
}

bool GtkUserMessages::AskText(const std::string& prompt, std::string& answer) {
    if (prompt_ == nullptr) {
        return false;
    }
    placement_.Place(prompt_->Window());
    return prompt_->Ask(prompt, answer);
}

}  // namespace KramoDialogs
