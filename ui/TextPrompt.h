#pragma once

#include <libglademm/xml.h>

#include <memory>
#include <string>

namespace Gtk {
class Dialog;
class Entry;
class Label;
}  // namespace Gtk

namespace KramoDialogs {

// The one-line text prompt, the "MessageEditBox" dialog of the window description.
class TextPrompt {
  public:
    // Throws std::runtime_error with the building failure's text.
    explicit TextPrompt(const std::string& gladeFile);
    ~TextPrompt();

    // Shows the prompt with the proposed answer; whatever the entry holds afterwards is handed
    // back, also when the user cancels (false). Closing the window counts as cancelling.
    bool Ask(const std::string& prompt, std::string& answer);

    Gtk::Dialog& Window() { return *dialog_; }

  private:
    Glib::RefPtr<Gnome::Glade::Xml> xml_;
    std::unique_ptr<Gtk::Dialog> dialog_;
    Gtk::Label* label_ = nullptr;
    Gtk::Entry* entry_ = nullptr;
};

}  // namespace KramoDialogs
