#pragma once

#include <string>
#include <vector>

#include "core/PdfTable.h"
#include "pdf/PdfCanvas.h"
#include "pdf/PdfColumns.h"
#include "pdf/PdfTableStyle.h"

namespace Kramo {

// A position on the page in whole PDF points, origin bottom-left.
struct PagePoint {
    int x = 0;
    int y = 0;
};

// A position in percent of the page, y measured from the top edge downward.
struct PagePercent {
    float x = 0.0f;
    float y = 0.0f;
};

// The writer every document is drawn through. Positions and sizes are percent of the page:
// x and widths of its width, y (from the top) and heights of its height.
class PdfWrapperBase : public PdfCanvas {
  public:
    virtual void Open(const std::string& fileName) = 0;
    // Saves the document to the file name given to Open.
    virtual void Close() = 0;
    // The size in points of the pages appended from now on; A4 after Open. The percent
    // positions are of the page they are drawn on.
    virtual void SetPageSize(float width, float height) = 0;
    virtual void SetFontSize(float heightPercent) = 0;
    // One line of UTF-8 text with its baseline at y.
    virtual void WriteText(float x, float y, const std::string& text) = 0;
    virtual float LineHeight() const = 0;
    virtual float FontHeight() const = 0;
    // Draws rows from firstRow on into room for spaceForHowManyRows rows (the header row
    // included); answers how many table rows it drew and where it ended.
    virtual int DrawTable(float x, float y, const PdfTableStyle& style, const PdfTable& table,
                          const PdfColumns& columns, int firstRow, int spaceForHowManyRows,
                          float& finishedAtY) = 0;
    virtual PagePoint PercentToPoints(float x, float y) const = 0;
    virtual int XPercentToPoints(float x) const = 0;
    virtual int YPercentToPoints(float y) const = 0;
    virtual int HeightPercentToPoints(float height) const = 0;
    virtual PagePercent PointsToPercent(float x, float y) const = 0;
    virtual float PointsToXPercent(float x) const = 0;
    virtual float PointsToYPercent(float y) const = 0;
    virtual float PointsToHeightPercent(float height) const = 0;
    virtual const std::string& CurrentPageTitle() const = 0;
};

}  // namespace Kramo
