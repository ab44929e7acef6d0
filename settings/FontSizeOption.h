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

// "Prednastavený" (-1, in the user's language), then the even sizes 4 to 18.
std::vector<FontSizeOption> OfferedFontSizes();

bool IsOfferedFontSize(int size);

}  // namespace Kramo
