#pragma once

#include <hpdf.h>

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>

#include "pdf/PdfWrapperBase.h"

namespace Kramo {

// The writer over libharu: A4 pages unless another size is set, Helvetica in ISO 8859-2, every
// stream compressed, the viewer opened on the bookmarks. Library errors come out as
// std::runtime_error "PDF error: error_no=%04X, detail_no=%d\n". Destroying an open writer saves
// the document, so what was written before a failure is kept. Saving replaces the file only with
// the whole document: a file that cannot be written (a full disk) leaves no part of it behind.
class HPDFWrapper : public PdfWrapperBase {
  public:
    // The A4 page every document has unless it sets another size.
    static constexpr float A4Width = 595.0f;
    static constexpr float A4Height = 841.0f;
    // Added to the font size for the line height.
    static constexpr unsigned int LineSpacing = 0;

    HPDFWrapper() = default;
    ~HPDFWrapper() override;

    void Open(const std::string& fileName) override;
    void Close() override;
    void SetPageSize(float width, float height) override;
    void NewPage(const std::string& title) override;
    void SetFont(const std::string& name) override;
    void SetFontSize(float heightPercent) override;
    void WriteText(float x, float y, const std::string& text) override;
    float LineHeight() const override;
    float FontHeight() const override;
    int DrawTable(float x, float y, const PdfTableStyle& style, const PdfTable& table,
                  const PdfColumns& columns, int firstRow, int spaceForHowManyRows,
                  float& finishedAtY) override;
    PagePoint PercentToPoints(float x, float y) const override;
    int XPercentToPoints(float x) const override;
    int YPercentToPoints(float y) const override;
    int HeightPercentToPoints(float height) const override;
    PagePercent PointsToPercent(float x, float y) const override;
    float PointsToXPercent(float x) const override;
    float PointsToYPercent(float y) const override;
    float PointsToHeightPercent(float height) const override;
    const std::string& CurrentPageTitle() const override { return pageTitle_; }
    void SetFontSizePoints(unsigned int points) override;
    void WriteTextAt(float x, float baseline, float width, const std::string& text) override;
    float TextWidth(const std::string& text) override;
    void FillRectangles(const std::vector<PageRectangle>& rectangles, float scaleX, float scaleY,
                        float originX, float originY) override;

    bool IsOpen() const { return open_; }
    unsigned int FontSizePoints() const { return fontSize_; }
    // How many leading bytes of an ISO 8859-2 text fit into the width at the current font.
    std::size_t BytesThatFit(const std::string& latin2Text, float widthPoints);
    // Shows ISO 8859-2 text with its baseline at the point.
    void ShowText(int x, int y, const std::string& latin2Text);

  private:
    struct DocumentFree {
        void operator()(HPDF_Doc document) const { HPDF_Free(document); }
    };
    using Document = std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, DocumentFree>;

    // What the library's error handler saw last; the handler only records, so that no
    // exception passes through the library's own frames.
    struct LibraryError {
        bool raised = false;
        HPDF_STATUS errorNo = 0;
        HPDF_STATUS detailNo = 0;
    };

    static void RecordError(HPDF_STATUS errorNo, HPDF_STATUS detailNo, void* userData);
    // Throws the recorded library error, if any, and clears it.
    void Check();
    // The library call's result, checked.
    template <typename Result>
    Result Checked(Result result) {
        Check();
        return result;
    }
    void InitialiseDocument();
    // Copies the document the library saved into its stream into the file; never throws.
    bool CopySavedStream(HPDF_Doc document, std::FILE* file);
    HPDF_Doc OpenDocument() const;
    HPDF_Page CurrentPage() const;
    void ApplyFont();
    void ApplyPendingFont();
    void Line(float x1, float y1, float x2, float y2);
    void DrawRules(float x, float y, const PdfTableStyle& style, const PdfColumns& columns,
                   bool header, int rows);

    LibraryError error_;
    Document document_;
    std::string fileName_;
    bool open_ = false;
    HPDF_Font font_ = nullptr;
    unsigned int fontSize_ = 10;
    bool fontPending_ = false;
    HPDF_Page page_ = nullptr;
    HPDF_Outline rootOutline_ = nullptr;
    std::string pageTitle_;
    float pageWidth_ = A4Width;
    float pageHeight_ = A4Height;
    // The size NewPage gives the pages it appends.
    float nextPageWidth_ = A4Width;
    float nextPageHeight_ = A4Height;
};

// Writes the text cut to the bytes that fit into the width, with y as the top of the text.
// A text too wide loses its leading blanks before anything else.
// Throws "WriteSingleTextIntoWidth: HPDF_Font_MeasureText failed." when not one character fits.
void WriteSingleTextIntoWidth(float x, float y, float width, const std::string& text,
                              HPDFWrapper& writer);

}  // namespace Kramo
