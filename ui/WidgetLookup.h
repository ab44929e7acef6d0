#pragma once

#include <glade/glade-xml.h>
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

    // The toolkit builds a derived widget over whatever object has the name, unchecked (a
    // program whose combo box does nothing): an object of any other class is refused here.
    template <typename Widget>
    WidgetLookup& GetDerived(const char* name, Widget*& widget) {
        widget = nullptr;
        if (xml_ && HasClass(name, Widget::get_base_type())) {
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
    // Looked up without wrapping it, so that the derived widget can still be built over it.
    // The very class, not a subclass: a combo box with an entry misreads the program's rows.
    bool HasClass(const char* name, GType wanted) const {
        GtkWidget* object = glade_xml_get_widget(xml_->gobj(), name);
        if (object == nullptr) {
            return false;
        }
        GType type = G_OBJECT_TYPE(object);
        // The description's objects are made as gtkmm's own subclass of their class.
        if (g_str_has_prefix(g_type_name(type), "gtkmm__")) {
            type = g_type_parent(type);
        }
        return type == wanted;
    }

    Glib::RefPtr<Gnome::Glade::Xml> xml_;
    std::string failureText_;
    bool complete_ = true;
};

}  // namespace KramoDialogs
