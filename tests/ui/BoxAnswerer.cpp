#include "BoxAnswerer.h"

namespace KramoTest {
namespace {

std::string StringProperty(GObject* object, const char* name) {
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(object), name) == nullptr) {
        return {};
    }
    gchar* value = nullptr;
    g_object_get(object, name, &value, nullptr);
    std::string text = value != nullptr ? value : "";
    g_free(value);
    return text;
}

}  // namespace

BoxAnswerer::BoxAnswerer(int response, std::function<void(GtkWidget*)> beforeAnswer)
    : response_(response), beforeAnswer_(std::move(beforeAnswer)) {
    source_ = g_timeout_add(10, &BoxAnswerer::Poll, this);
}

BoxAnswerer::~BoxAnswerer() {
    if (!seen_.answered) {
        g_source_remove(source_);
    }
}

gboolean BoxAnswerer::Poll(gpointer self) {
    return static_cast<BoxAnswerer*>(self)->AnswerVisibleDialog() ? FALSE : TRUE;
}

bool BoxAnswerer::AnswerVisibleDialog() {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* dialog = nullptr;
    for (GList* node = windows; node != nullptr; node = node->next) {
        GtkWidget* window = GTK_WIDGET(node->data);
        if (GTK_IS_DIALOG(window) && GTK_WIDGET_VISIBLE(window)) {
            dialog = window;
        }
    }
    g_list_free(windows);
    if (dialog == nullptr) {
        return false;
    }
    seen_.text = StringProperty(G_OBJECT(dialog), "text");
    seen_.secondary = StringProperty(G_OBJECT(dialog), "secondary-text");
    const gchar* title = gtk_window_get_title(GTK_WINDOW(dialog));
    seen_.title = title != nullptr ? title : "";
    if (beforeAnswer_) {
        beforeAnswer_(dialog);
    }
    seen_.answered = true;
    gtk_dialog_response(GTK_DIALOG(dialog), response_);
    return true;
}

}  // namespace KramoTest
