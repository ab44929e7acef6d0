#include "TextPrompt.h"

#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

#include <stdexcept>

#include "support/Translation.h"

namespace KramoDialogs {

TextPrompt::TextPrompt(const std::string& gladeFile) {
    try {
        xml_ = Gnome::Glade::Xml::create(gladeFile, "MessageEditBox", Kramo::TranslationDomain);
    } catch (const Gnome::Glade::XmlError&) {
        throw std::runtime_error(
            "ZelvarDialogsGtkmm::Init() error loading glade item from xml. 'MessageEditBox'");
    }
    Gtk::Button* ok = nullptr;
    Gtk::Button* cancel = nullptr;
    Gtk::Dialog* dialog = nullptr;
    xml_->get_widget("MessageEditBox", dialog);
    dialog_.reset(dialog);
    xml_->get_widget("label_text", label_);
    xml_->get_widget("entry_text", entry_);
    xml_->get_widget("button_ok", ok);
    xml_->get_widget("button_cancel", cancel);
    if (dialog_ == nullptr || label_ == nullptr || entry_ == nullptr || ok == nullptr ||
        cancel == nullptr) {
        throw std::runtime_error("Dialog file is corrupt [MessageEditBox].");
    }
    entry_->set_activates_default(true);
    ok->property_can_default() = true;
    ok->grab_default();
}

TextPrompt::~TextPrompt() = default;

bool TextPrompt::Ask(const std::string& prompt, std::string& answer) {
    label_->set_text(prompt);
    entry_->set_text(answer);
    entry_->grab_focus();
    const int response = dialog_->run();
    answer = entry_->get_text();
    dialog_->hide();
    return response == Gtk::RESPONSE_OK;
}

}  // namespace KramoDialogs
