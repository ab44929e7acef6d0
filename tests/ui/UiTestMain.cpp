#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/main.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <thread>

#include "ToolkitWarnings.h"
#include "ui/VanishedWindows.h"

// The toolkit and fontconfig keep caches for the life of the process, which the leak checker
// would report as leaks of every window test.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

// The virtual display now and then refuses a connection while many test programs start and end
// at once; a moment later it takes it. The toolkit itself would give up at the first refusal,
// so the display is opened here, again until it answers.
void OpenDisplay(int& argc, char**& argv) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (gtk_init_check(&argc, &argv)) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

// Window tests need the toolkit; listing the tests (at build time) must work without a display.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<Gtk::Main> toolkit;
    if (!testing::GTEST_FLAG(list_tests)) {
        // As at a Slovak cash desk: the toolkit takes the user's locale, decimal comma and all
        // (the test command compiles the locale into the build folder).
        setenv("LANG", "sk_SK.UTF-8", 1);
        unsetenv("LC_ALL");
        OpenDisplay(argc, argv);
        toolkit = std::make_unique<Gtk::Main>(argc, argv);
        KramoDialogs::SurviveVanishedWindows();
        std::setlocale(LC_NUMERIC, "C");
        // A mistake in the window description shows only as a critical warning of the
        // toolkit: fail on it. Other libraries' warnings (a damaged sheet's) are the program's
        // to handle.
        for (const char* domain : {"Gtk", "Gdk", "GLib", "GLib-GObject", "GLib-GIO", "Pango",
                                   "GdkPixbuf", "libglade", "glibmm", "gtkmm"}) {
            g_log_set_fatal_mask(
                domain, static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_FATAL_MASK));
        }
    }
    return RUN_ALL_TESTS();
}
