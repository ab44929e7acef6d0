#include "PageLayout.h"

#include <stdexcept>

#include "support/Clock.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

// How many rows (the header row included) fit between y and the lowest line.
int RowsThatFit(float y, const PdfTableStyle& style, bool header) {
    const float room = PageLayout::LowestLine - y - (header ? style.headerHeight : 0.0f);
    return static_cast<int>(room / style.rowHeight);
}

}  // namespace

float DrawTableSplitOnPages(PdfWrapperBase& writer, float x, float y, const PdfTable& table,
                            const PdfColumns& columns) {
    const PdfTableStyle style;
    const bool header = columns.HasHeader();
    const int minimumRows = header ? 2 : 1;
    const auto tableRows = static_cast<int>(table.Rows());
    float finishedAtY = -1.0f;
    int row = 0;
    bool pageWasTooShort = false;
    while (true) {
        const int fitting = RowsThatFit(y, style, header);
        if (fitting >= minimumRows) {
            row += writer.DrawTable(x, y, style, table, columns, row, fitting, finishedAtY);
            if (row >= tableRows) {
                return finishedAtY;
            }
        } else if (pageWasTooShort) {
            throw std::runtime_error("DrawTableSplitOnPages: row does not fit on page.");
        } else {
            pageWasTooShort = true;
        }
        writer.NewPage(writer.CurrentPageTitle());
        WritePageDecoration(writer);
        y = PageLayout::ContinuationTop;
    }
}

void WritePageDecoration(PdfWrapperBase& writer) {
    writer.SetFontSize(PageLayout::DecorationFontSize);
    const std::string now = FormatDateText();
    writer.WriteText(PageLayout::LeftMargin, PageLayout::TopDecorationY,
                     FormatText(_("Dokument vytvorený '%s' na krame '%s'."), now.c_str(),
                                writer.SaleName().c_str()));
    writer.WriteText(PageLayout::LeftMargin, PageLayout::BottomDecorationY,
                     FormatText(_("Dokument vytvorený '%s' na počítači '%s'."), now.c_str(),
                                writer.ComputerName().c_str()));
}

}  // namespace Kramo
