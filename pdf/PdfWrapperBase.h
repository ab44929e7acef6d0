#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/PdfTable.h"
#include "pdf/PdfColumns.h"
#include "pdf/PdfTableStyle.h"

namespace Kramo {

// A position on the page in whole PDF points, origin bottom-left.
struct PagePoint {
    int x = 0;
    int y = 0;
};

// A rectangle in PDF points, origin bottom-left.
struct PageRectangle {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// A position in percent of the page, y measured from the top edge downward.
struct PagePercent {
    float x = 0.0f;
    float y = 0.0f;
};

// The writer every document is drawn through. Positions and sizes are percent of the page:
// x and widths of its width, y (from the top) and heights of its height.
class PdfWrapperBase {
  public:
    PdfWrapperBase() = default;
    PdfWrapperBase(const PdfWrapperBase&) = delete;
    PdfWrapperBase& operator=(const PdfWrapperBase&) = delete;
    virtual ~PdfWrapperBase() = default;

    virtual void Open(const std::string& fileName) = 0;
    // Saves the document to the file name given to Open.
    virtual void Close() = 0;
    // The size in points of the pages appended from now on; A4 after Open. The percent
    // positions are of the page they are drawn on.
    virtual void SetPageSize(float width, float height) = 0;
    // Appends a page with a bookmark of the title.
    virtual void NewPage(const std::string& title) = 0;
    virtual void SetFont(const std::string& name) = 0;
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

    // Drawing in points, for documents measured in millimetres (labels).
    virtual void SetFontSizePoints(unsigned int points) = 0;
    // One line of UTF-8 text with its baseline at the point, cut after the last character
    // that fits into the width; a character the font lacks is drawn unaccented or as '?'.
    virtual void WriteTextAt(float x, float baseline, float width, const std::string& text) = 0;
    // How wide the text is drawn at the current font and size, in points.
    virtual float TextWidth(const std::string& text) = 0;
    // Fills the rectangles, given in units of the scale from the origin: bars of a barcode in
    // whole modules stay short in the page's content, a label sheet holds thousands.
    virtual void FillRectangles(const std::vector<PageRectangle>& rectangles, float scaleX,
                                float scaleY, float originX, float originY) = 0;

    // Where the document comes from, as the decoration of every page names it.
    void SetOrigin(std::string saleName, std::string computerName) {
        saleName_ = std::move(saleName);
        computerName_ = std::move(computerName);
    }
    const std::string& SaleName() const { return saleName_; }
    const std::string& ComputerName() const { return computerName_; }

  private:
    std::string saleName_;
    std::string computerName_;
};

}  // namespace Kramo
