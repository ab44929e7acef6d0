#pragma once

#include <gdkmm/pixbuf.h>

#include <array>
#include <cstdint>

namespace KramoDialogs {

// One small coloured picture per item state, shown in front of the state's name.
class StatePictures {
  public:
    static constexpr int Width = 10;
    static constexpr int Height = 24;
    static constexpr std::array<uint32_t, 7> Colours = {0x323232, 0x64FF64, 0xFFBE32, 0x3232FF,
                                                        0xFF00FF, 0xFF5050, 0x000000};

    StatePictures();
    // The picture of a state; a state outside the table gets the one of Undefined.
    Glib::RefPtr<Gdk::Pixbuf> Of(int32_t status) const;

  private:
    std::array<Glib::RefPtr<Gdk::Pixbuf>, Colours.size()> pictures_;
};

}  // namespace KramoDialogs
