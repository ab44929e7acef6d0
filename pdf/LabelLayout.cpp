#include "LabelLayout.h"

#include "support/KeyedChoice.h"
#include "support/Translation.h"

namespace Kramo {

const std::vector<LabelLayout>& LabelLayout::All() {
    // The grids fill the sheet's width; what is left of the height is split above and below.
    // The titles are the catalogue's IDs: the settings translate them where they show them.
    static const std::vector<LabelLayout> layouts{
        {"a4-3x8", N_("A4, 3 × 8 štítkov (70 × 37 mm)"), 3, 8, 70.0, 37.0, 0.0, 0.5},
        {"a4-3x7", N_("A4, 3 × 7 štítkov (70 × 42,3 mm)"), 3, 7, 70.0, 42.3, 0.0, 0.45},
        {"a4-2x8", N_("A4, 2 × 8 štítkov (105 × 37 mm)"), 2, 8, 105.0, 37.0, 0.0, 0.5},
        {"a4-3x10", N_("A4, 3 × 10 štítkov (70 × 29,7 mm)"), 3, 10, 70.0, 29.7, 0.0, 0.0},
    };
    return layouts;
}

const LabelLayout& LabelLayout::ByKey(const std::string& key) {
    return OfferedByKey(All(), key);
}

}  // namespace Kramo
