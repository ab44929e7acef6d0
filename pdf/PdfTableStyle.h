#pragma once

namespace Kramo {

// Sizes of a drawn table, in percent of the page height.
struct PdfTableStyle {
    float rowHeight = 1.56f;
    float headerHeight = 1.95f;
    float fontSize = 1.3f;
};

}  // namespace Kramo
