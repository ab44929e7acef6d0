#pragma once

#include <string>
#include <vector>

namespace Kramo {

// A font size the settings dialog offers: its label and the size in points (-1: the toolkit's
// default font).
struct FontSizeOption {
    std::string label;
    int value;
};

// "Prednastavený" (-1; a catalogue ID, translated where shown), then the even sizes 4 to 18.
const std::vector<FontSizeOption>& OfferedFontSizes();

bool IsOfferedFontSize(int size);

}  // namespace Kramo
