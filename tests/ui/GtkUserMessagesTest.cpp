#include "ui/GtkUserMessages.h"

#include <gtest/gtest.h>
#include <gtkmm/dialog.h>
#include <gtkmm/main.h>
#include <gtkmm/window.h>

#include "BoxAnswerer.h"

namespace {

using KramoDialogs::GtkUserMessages;
using KramoDialogs::TextPrompt;
using KramoTest::BoxAnswerer;

TEST(MessageBoxes, ErrorBoxWithEmptyPrimaryTextSaysError) {
    GtkUserMessages boxes;
    BoxAnswerer user(GTK_RESPONSE_OK);
    boxes.ShowErrorBox("Wrong Seller", "");
    ASSERT_TRUE(user.seen().answered);
    EXPECT_EQ(user.seen().text, "error");
    EXPECT_EQ(user.seen().secondary, "Wrong Seller");
}

TEST(MessageBoxes, QuestionIsTrueOnlyForYes) {
    GtkUserMessages boxes;
    {
        BoxAnswerer user(GTK_RESPONSE_YES);
        EXPECT_TRUE(boxes.AskQuestion("Dokončiť nákup?", "Pokladňa"));
        EXPECT_EQ(user.seen().text, "Dokončiť nákup?");
        EXPECT_EQ(user.seen().secondary, "Pokladňa");
        EXPECT_EQ(user.seen().title, "Pokladňa");
    }
    {
        BoxAnswerer user(GTK_RESPONSE_NO);
        EXPECT_FALSE(boxes.AskQuestion("Dokončiť nákup?", ""));
    }
    {
        BoxAnswerer user(GTK_RESPONSE_DELETE_EVENT);  // the window closed
        EXPECT_FALSE(boxes.AskQuestion("Dokončiť nákup?", ""));
        EXPECT_TRUE(user.seen().answered);
    }
}

TEST(MessageBoxes, InfoBoxShowsTitleAsSecondaryText) {
    GtkUserMessages boxes;
    BoxAnswerer user(GTK_RESPONSE_OK);
    boxes.ShowInfoBox("Zmena veľkosti písma sa prejaví pri ďalšom spustení programu",
                      "Veľkosť písma zmenená");
    EXPECT_EQ(user.seen().text, "Zmena veľkosti písma sa prejaví pri ďalšom spustení programu");
    EXPECT_EQ(user.seen().secondary, "Veľkosť písma zmenená");
}

// The toolkit learns from the window system which window has the focus; here the test says it.
void SetFocus(Gtk::Window& window, bool in) {
    GdkEvent* event = gdk_event_new(GDK_FOCUS_CHANGE);
    event->focus_change.window = static_cast<GdkWindow*>(g_object_ref(window.get_window()->gobj()));
    event->focus_change.in = in ? TRUE : FALSE;
    gtk_main_do_event(event);
    gdk_event_free(event);
}

struct Placement {
    GtkWindow* owner = nullptr;
    bool modal = false;
    int position = GTK_WIN_POS_NONE;
};

std::function<void(GtkWidget*)> KeepPlacement(Placement& placement) {
    return [&placement](GtkWidget* box) {
        placement.owner = gtk_window_get_transient_for(GTK_WINDOW(box));
        placement.modal = gtk_window_get_modal(GTK_WINDOW(box));
        g_object_get(box, "window-position", &placement.position, nullptr);
    };
}

TEST(MessageBoxes, OpenModalAndCentredOnTheWindowTheyBelongTo) {
    GtkUserMessages boxes;
    Placement placement;
    {
        BoxAnswerer user(GTK_RESPONSE_OK, KeepPlacement(placement));
        boxes.ShowErrorBox("Chyba", "");  // no window yet: centred on the screen
    }
    EXPECT_EQ(placement.owner, nullptr);
    EXPECT_TRUE(placement.modal);
    EXPECT_EQ(placement.position, GTK_WIN_POS_CENTER);

    Gtk::Window main;
    Gtk::Window checkout;
    boxes.SetMainWindow(&main);
    main.show();
    checkout.show();
    while (Gtk::Main::events_pending()) {
        Gtk::Main::iteration(false);
    }
    SetFocus(main, false);
    SetFocus(checkout, true);
    {
        BoxAnswerer user(GTK_RESPONSE_YES, KeepPlacement(placement));
        boxes.AskQuestion("Dokončiť nákup?", "");
    }
    EXPECT_EQ(placement.owner, checkout.gobj());
    EXPECT_TRUE(placement.modal);
    EXPECT_EQ(placement.position, GTK_WIN_POS_CENTER_ON_PARENT);

    SetFocus(checkout, false);  // no window in use: the main window's
    {
        BoxAnswerer user(GTK_RESPONSE_OK, KeepPlacement(placement));
        boxes.ShowInfoBox("Neexistuje žiaden predajca", "");
    }
    EXPECT_EQ(placement.owner, main.gobj());
    EXPECT_EQ(placement.position, GTK_WIN_POS_CENTER_ON_PARENT);
    boxes.SetMainWindow(nullptr);
}

void TypeIntoPrompt(GtkWidget* dialog, const char* text) {
    // The entry is the dialog's only GtkEntry; walk the content area to find it.
    std::function<GtkWidget*(GtkWidget*)> find = [&](GtkWidget* widget) -> GtkWidget* {
        if (GTK_IS_ENTRY(widget))
            return widget;
        if (!GTK_IS_CONTAINER(widget))
            return nullptr;
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        GtkWidget* found = nullptr;
        for (GList* node = children; node != nullptr && found == nullptr; node = node->next) {
            found = find(GTK_WIDGET(node->data));
        }
        g_list_free(children);
        return found;
    };
    GtkWidget* entry = find(dialog);
    ASSERT_NE(entry, nullptr);
    gtk_entry_set_text(GTK_ENTRY(entry), text);
}

TEST(TextPrompt, HandsBackTheTypedTextAlsoWhenCancelled) {
    GtkUserMessages boxes(std::make_unique<TextPrompt>(KRAMO_GLADE_FILE));
    std::string answer = "Peter";
    {
        BoxAnswerer user(GTK_RESPONSE_CANCEL,
                         [](GtkWidget* dialog) { TypeIntoPrompt(dialog, "Jana"); });
        EXPECT_FALSE(boxes.AskText("Kto prebral tovar tohoto predajcu?", answer));
        EXPECT_EQ(answer, "Jana");
    }
    {
        BoxAnswerer user(GTK_RESPONSE_OK,
                         [](GtkWidget* dialog) { TypeIntoPrompt(dialog, "Mária Nová"); });
        EXPECT_TRUE(boxes.AskText("Kto prebral tovar tohoto predajcu?", answer));
        EXPECT_EQ(answer, "Mária Nová");
    }
    {
        BoxAnswerer user(GTK_RESPONSE_DELETE_EVENT);
        EXPECT_FALSE(boxes.AskText("Kto?", answer));
        EXPECT_EQ(answer, "Mária Nová");
    }
}

TEST(TextPrompt, MissingDialogIsReportedWithItsName) {
    try {
        TextPrompt prompt("/nonexistent/kramo.glade");
        FAIL() << "no failure";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "ZelvarDialogsGtkmm::Init() error loading glade item from xml. "
                     "'MessageEditBox'");
    }
}

TEST(TextPrompt, WithoutPromptEveryPromptIsCancelled) {
    GtkUserMessages boxes;
    std::string answer = "x";
    EXPECT_FALSE(boxes.AskText("Kto?", answer));
    EXPECT_EQ(answer, "x");
}

}  // namespace
