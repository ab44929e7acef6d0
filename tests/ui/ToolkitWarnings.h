#pragma once

#include <glib.h>

#include <array>

namespace KramoTest {

// A mistake in the window description shows only as a critical warning of the toolkit: the
// window tests fail on one. Other libraries' warnings (a damaged sheet's) are the program's to
// handle and stay warnings.
class ToolkitWarnings {
  public:
    static constexpr std::array<const char*, 10> Domains = {
        "Gtk",   "Gdk",       "GLib",     "GLib-GObject", "GLib-GIO",
        "Pango", "GdkPixbuf", "libglade", "glibmm",       "gtkmm"};

    static void MakeCriticalsFatal();
};

// While it lives, the toolkit's warnings are expected and do not end the test (a test that
// breaks the window description on purpose).
class ExpectedToolkitWarnings {
  public:
    ExpectedToolkitWarnings();
    ~ExpectedToolkitWarnings();
    ExpectedToolkitWarnings(const ExpectedToolkitWarnings&) = delete;
    ExpectedToolkitWarnings& operator=(const ExpectedToolkitWarnings&) = delete;

  private:
    std::array<GLogLevelFlags, ToolkitWarnings::Domains.size()> former_{};
};

}  // namespace KramoTest
