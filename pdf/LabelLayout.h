#pragma once

#include <string>
#include <vector>

namespace Kramo {

// A sheet of self-adhesive labels: the grid of equal labels on an A4 page and where it starts.
struct LabelLayout {
    std::string key;    // as kramo.xml names it
    std::string title;  // as the settings offer it, translated where shown
    int columns = 0;
    int rows = 0;
    double labelWidthMm = 0.0;
    double labelHeightMm = 0.0;
    double leftMarginMm = 0.0;  // from the page's left edge to the first column
    double topMarginMm = 0.0;   // from the page's top edge to the first row

    int LabelsPerSheet() const { return columns * rows; }

    // The sheets on offer, the usual office A4 ones first.
    static const std::vector<LabelLayout>& All();
    // The layout of that key; the first one for a key that is not on offer.
    static const LabelLayout& ByKey(const std::string& key);
};

}  // namespace Kramo
