#pragma once

#include "pdf/PdfWrapperBase.h"

namespace Kramo {

// Where content goes on a page, in percent.
struct PageLayout {
    static constexpr float LeftMargin = 2.0f;
    static constexpr float ContinuationTop = 3.5f;  // top of the content on continuation pages
    static constexpr float LowestLine = 95.0f;      // lowest line a table may reach
    static constexpr float TopDecorationY = 2.0f;
    static constexpr float BottomDecorationY = 96.0f;
    static constexpr float DecorationFontSize = 1.0f;
};

// Draws the whole table from y on, continuing on new pages (same title, decorated, the header
// row repeated) as long as rows are left. Returns the y below the table.
float DrawTableSplitOnPages(PdfWrapperBase& writer, float x, float y, const PdfTable& table,
                            const PdfColumns& columns);

// The standard lines at the top and the bottom of every page: when, where and on which
// computer the document was made. Leaves the decoration's font size set.
void WritePageDecoration(PdfWrapperBase& writer);

}  // namespace Kramo
