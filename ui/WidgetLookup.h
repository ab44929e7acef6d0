#pragma once

#include <libglademm/xml.h>

#include <stdexcept>
#include <string>

namespace KramoDialogs {

// Looks up the widgets of one building step; the step fails with its own text when any of
// them is missing or of another type.
class WidgetLookup {
  public:
    WidgetLookup(const Glib::RefPtr<Gnome::Glade::Xml>& xml, std::string failureText)
        : xml_(xml), failureText_(std::move(failureText)) {}

    template <typename Widget>
    WidgetLookup& Get(const char* name, Widget*& widget) {
        widget = nullptr;
        if (xml_) {
            xml_->get_widget(name, widget);
        }
        complete_ = complete_ && widget != nullptr;
        return *this;
    }

    template <typename Widget>
    WidgetLookup& GetDerived(const char* name, Widget*& widget) {
        widget = nullptr;
        if (xml_) {
            xml_->get_widget_derived(name, widget);
        }
        complete_ = complete_ && widget != nullptr;
        return *this;
    }

    // Throws std::runtime_error with the step's text when a widget was missing.
    void Check() const {
        if (!complete_) {
            throw std::runtime_error(failureText_);
        }
    }

  private:
    Glib::RefPtr<Gnome::Glade::Xml> xml_;
    std::string failureText_;
    bool complete_ = true;
};

}  // namespace KramoDialogs
