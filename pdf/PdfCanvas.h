#pragma once

#include <string>
#include <utility>
#include <vector>

namespace Kramo {

// A rectangle in PDF points, origin bottom-left.
struct PageRectangle {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// What a document measured in millimetres (a sheet of labels) is drawn on: pages with a
// bookmark each, the fonts "Helvetica" and "Helvetica-Bold", lines of text and filled
// rectangles, all placed in PDF points from the bottom-left corner of the page.
class PdfCanvas {
  public:
    PdfCanvas() = default;
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;
    virtual ~PdfCanvas() = default;

    // Appends a page with a bookmark of the title.
    virtual void NewPage(const std::string& title) = 0;
    virtual void SetFont(const std::string& name) = 0;
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
