#pragma once

#include <string>

namespace Kramo {

// One column of a document table; the width is in percent of the page width.
struct PdfColumn {
    std::string title;
    unsigned int width = 100;
    // The rule at the column's left edge starts below the header row, so the header cell
    // reads as one with the column before it.
    bool headerJoin = false;
};

}  // namespace Kramo
