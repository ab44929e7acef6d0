#include "GtkUserMessages.h"

#include <gtkmm/messagedialog.h>

namespace KramoDialogs {

GtkUserMessages::GtkUserMessages(std::unique_ptr<TextPrompt> prompt) : prompt_(std::move(prompt)) {}

void GtkUserMessages::ShowErrorBox(const std::string& detail, const std::string& primary) {
    Gtk::MessageDialog box(primary.empty() ? "error" : primary, false, Gtk::MESSAGE_INFO,
                           Gtk::BUTTONS_OK, false);
    box.set_secondary_text(detail);
    box.run();
}

void GtkUserMessages::ShowInfoBox(const std::string& message, const std::string& title) {
    Gtk::MessageDialog box(message, false, Gtk::MESSAGE_QUESTION, Gtk::BUTTONS_OK, true);
    box.set_title(title);
    box.set_secondary_text(title);
    box.run();
}

bool GtkUserMessages::AskQuestion(const std::string& message, const std::string& title) {
    Gtk::MessageDialog box(message, false, Gtk::MESSAGE_QUESTION, Gtk::BUTTONS_YES_NO, true);
    box.set_title(title);
    box.set_secondary_text(title);
    return box.run() == Gtk::RESPONSE_YES;
}

bool GtkUserMessages::AskText(const std::string& prompt, std::string& answer) {
    return prompt_ != nullptr && prompt_->Ask(prompt, answer);
}

}  // namespace KramoDialogs
