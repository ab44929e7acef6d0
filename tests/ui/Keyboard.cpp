#include "Keyboard.h"

#include <gdk/gdkkeysyms.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <gtkmm/main.h>
#include <gtkmm/window.h>

#include <cctype>
#include <chrono>

namespace KramoTest {
namespace {

guint KeyOf(char c) {
    return gdk_unicode_to_keyval(static_cast<unsigned char>(c));
}

GdkModifierType ModifiersOf(char c) {
    return std::isupper(static_cast<unsigned char>(c)) ? GDK_SHIFT_MASK : GdkModifierType(0);
}

}  // namespace

void Keyboard::Press(guint keyval, GdkModifierType modifiers) {
    Send(keyval, modifiers);
    ++presses_;
    Drain();
}

void Keyboard::Type(const std::string& text) {
    for (const char c : text) {
        Press(KeyOf(c), ModifiersOf(c));
    }
}

void Keyboard::Scan(const std::string& text) {
    for (const char c : text) {
        Send(KeyOf(c), ModifiersOf(c));
    }
    Send(GDK_Return, GdkModifierType(0));
    Drain();
}

void Keyboard::WaitForButton() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < end) {
        Drain();
        g_usleep(10000);
    }
}

void Keyboard::Send(guint keyval, GdkModifierType modifiers) {
    GdkWindow* target = window_.get_window()->gobj();
    ASSERT_TRUE(gdk_test_simulate_key(target, -1, -1, keyval, modifiers, GDK_KEY_PRESS));
    ASSERT_TRUE(gdk_test_simulate_key(target, -1, -1, keyval, modifiers, GDK_KEY_RELEASE));
}

void Keyboard::Drain() {
    while (Gtk::Main::events_pending()) {
        Gtk::Main::iteration(false);
    }
}

}  // namespace KramoTest
