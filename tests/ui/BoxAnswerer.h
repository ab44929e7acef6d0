#pragma once

#include <functional>
#include <string>

#include <gtk/gtk.h>

namespace KramoTest {

// Waits for the next dialog to show up on the screen, keeps what it shows and answers it
// with the given response, as a user at the desk would.
class BoxAnswerer {
  public:
    struct Seen {
        std::string text;
        std::string secondary;
        std::string title;
        bool answered = false;
    };

    // `beforeAnswer` may act on the dialog first (type into it).
    explicit BoxAnswerer(int response, std::function<void(GtkWidget*)> beforeAnswer = {});
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    const Seen& seen() const { return seen_; }

  private:
    static gboolean Poll(gpointer self);
    bool AnswerVisibleDialog();

    int response_;
    std::function<void(GtkWidget*)> beforeAnswer_;
    Seen seen_;
    guint source_ = 0;
};

}  // namespace KramoTest
