#include "settings/FontSizeOption.h"

#include <algorithm>

#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

std::vector<FontSizeOption> BuildFontSizes() {
    std::vector<FontSizeOption> sizes{{N_("Prednastavený"), -1}};
    for (int size = 4; size <= 18; size += 2) {
        sizes.push_back({FormatText("%i", size), size});
    }
    return sizes;
}

}  // namespace

const std::vector<FontSizeOption>& OfferedFontSizes() {
    static const std::vector<FontSizeOption> sizes = BuildFontSizes();
    return sizes;
}

bool IsOfferedFontSize(int size) {
    const std::vector<FontSizeOption>& sizes = OfferedFontSizes();
    return std::any_of(sizes.begin(), sizes.end(),
                       [size](const FontSizeOption& option) { return option.value == size; });
}

}  // namespace Kramo
