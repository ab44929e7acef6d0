#include "HPDFWrapper.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <stdexcept>

#include "support/FileHelpers.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/StringEncoding.h"

namespace Kramo {
namespace {

constexpr float RuleWidth = 0.5f;

// The text in the font's encoding; a text that cannot be converted is logged and drawn as it is.
std::string ToLatin2(const std::string& text) {
    std::string converted = text;
    try {
        StringEncoding::Utf8ToLatin2(converted);
    } catch (const std::exception& failure) {
        LogMessage(LogError, "Error encoding '%s' : %s\n", text.c_str(), failure.what());
        return text;
    }
    return converted;
}

// The text in the font's encoding with nothing left that the font cannot draw: a character
// outside ISO 8859-2 loses its accent, or becomes '?', so that every byte is one character.
std::string ToDrawableLatin2(const std::string& text) {
    std::string converted = text;
    try {
        StringEncoding::Utf8ToLatin2(converted);
        return converted;
    } catch (const std::exception&) {
    }
    std::string drawable;
    for (const char c : StringEncoding::RemoveDiacritics(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            drawable += c;
        } else if (byte >= 0xC0) {  // the lead byte of a character; its continuation bytes go
            drawable += '?';
        }
    }
    return drawable;
}

// Writes the non-empty texts of one table row, each into its column less the margins.
template <typename CellText>
void WriteRowTexts(HPDFWrapper& writer, float x, float y, const PdfColumns& columns, float margin,
                   CellText cellText) {
    float left = x;
    for (std::size_t column = 0; column < columns.Columns(); ++column) {
        const std::string& text = cellText(column);
        const auto width = static_cast<float>(columns.At(column).width);
        if (!text.empty()) {
            WriteSingleTextIntoWidth(left + margin, y, width - 2.0f * margin, text, writer);
        }
        left += width;
    }
}

}  // namespace

HPDFWrapper::~HPDFWrapper() {
    if (!open_) {
        return;
    }
    // Reached also while an exception unwinds the document's writing: save what there is,
    // and never throw from here.
    try {
        Close();
    } catch (const std::exception& failure) {
        LogMessage(LogError, "HPDFWrapper: document '%s' not saved: %s", fileName_.c_str(),
                   failure.what());
    }
}

void HPDFWrapper::RecordError(HPDF_STATUS errorNo, HPDF_STATUS detailNo, void* userData) {
    auto* error = static_cast<LibraryError*>(userData);
    if (!error->raised) {  // the first error of a call is its cause
        *error = {true, errorNo, detailNo};
    }
}

void HPDFWrapper::Check() {
    if (!error_.raised) {
        return;
    }
    const LibraryError error = error_;
    error_ = {};
    if (document_) {
        HPDF_ResetError(document_.get());
    }
    throw std::runtime_error(FormatText("PDF error: error_no=%04X, detail_no=%d\n",
                                        static_cast<unsigned int>(error.errorNo),
                                        static_cast<int>(error.detailNo)));
}

void HPDFWrapper::Open(const std::string& fileName) {
    if (open_) {
        Close();
    }
    error_ = {};
    pageWidth_ = nextPageWidth_ = A4Width;
    pageHeight_ = nextPageHeight_ = A4Height;
    document_.reset(HPDF_New(&HPDFWrapper::RecordError, &error_));
    if (!document_) {
        throw std::runtime_error("PDF ERROR: cannot create pdf object.\n");
    }
    try {
        InitialiseDocument();
    } catch (const std::exception&) {
        document_.reset();
        error_ = {};
        throw std::runtime_error("PDF ERROR: error initializing PDF.\n");
    }
    fileName_ = fileName;
    open_ = true;
    page_ = nullptr;
    pageTitle_.clear();
}

void HPDFWrapper::InitialiseDocument() {
    HPDF_Doc document = document_.get();
    Checked(HPDF_SetCompressionMode(document, HPDF_COMP_ALL));
    Checked(HPDF_SetPageMode(document, HPDF_PAGE_MODE_USE_OUTLINE));
    SetFont("Helvetica");
    SetFontSize(2.0f);
    rootOutline_ = Checked(HPDF_CreateOutline(document, nullptr, "Kramo", nullptr));
    Checked(HPDF_Outline_SetOpened(rootOutline_, HPDF_TRUE));
}

void HPDFWrapper::Close() {
    if (!open_) {
        throw std::runtime_error("PDF not open");
    }
    open_ = false;
    page_ = nullptr;
    // Released whatever the saving does.
    const Document document = std::move(document_);
    HPDF_SaveToStream(document.get());
    Check();
    // The library's own file writing does not see a disk that fills at its last buffer; the
    // document goes to the disk whole or not at all, never as a PDF cut short. It is copied
    // over piece by piece: a sheet of labels for a whole sale is tens of megabytes.
    const Replacement replaced =
        ReplaceFileContents(fileName_, fileName_ + ".part",
                            [&](std::FILE* file) { return CopySavedStream(document.get(), file); });
    Check();
    if (replaced != Replacement::Done) {
        const int reason = errno;
        const unsigned int errorNo =
            replaced == Replacement::NotOpened ? HPDF_FILE_OPEN_ERROR : HPDF_FILE_IO_ERROR;
        throw std::runtime_error(
            FormatText("PDF error: error_no=%04X, detail_no=%d\n", errorNo, reason));
    }
}

bool HPDFWrapper::CopySavedStream(HPDF_Doc document, std::FILE* file) {
    std::array<HPDF_BYTE, 65536> buffer{};
    HPDF_ResetStream(document);
    while (true) {
        HPDF_UINT32 size = buffer.size();
        const HPDF_STATUS status = HPDF_ReadFromStream(document, buffer.data(), &size);
        if (size > 0 && std::fwrite(buffer.data(), 1, size, file) != size) {
            return false;
        }
        if (status == HPDF_STREAM_EOF) {
            // Reading the stream to its very end counts as an error of its own.
            error_ = {};
            HPDF_ResetError(document);
            return true;
        }
        if (status != HPDF_OK) {
            return false;  // the recorded library error is thrown after the file is gone
        }
    }
}

HPDF_Doc HPDFWrapper::OpenDocument() const {
    if (!document_) {
        throw std::runtime_error("PDF not open");
    }
    return document_.get();
}

HPDF_Page HPDFWrapper::CurrentPage() const {
    if (page_ == nullptr) {
        throw std::runtime_error("PDF has no page");
    }
    return page_;
}

void HPDFWrapper::SetPageSize(float width, float height) {
    if (!(width > 0.0f && height > 0.0f)) {
        throw std::out_of_range("SetPageSize: a page needs a width and a height");
    }
    nextPageWidth_ = width;
    nextPageHeight_ = height;
}

void HPDFWrapper::NewPage(const std::string& title) {
    HPDF_Doc document = OpenDocument();
    page_ = Checked(HPDF_AddPage(document));
    pageWidth_ = nextPageWidth_;
    pageHeight_ = nextPageHeight_;
    Checked(HPDF_Page_SetWidth(page_, pageWidth_));
    Checked(HPDF_Page_SetHeight(page_, pageHeight_));
    pageTitle_ = title;
    const std::string bookmark = StringEncoding::RemoveDiacritics(title);
    HPDF_Outline outline =
        Checked(HPDF_CreateOutline(document, rootOutline_, bookmark.c_str(), nullptr));
    HPDF_Destination destination = Checked(HPDF_Page_CreateDestination(page_));
    Checked(HPDF_Destination_SetXYZ(destination, 0, pageHeight_, 1));
    Checked(HPDF_Outline_SetDestination(outline, destination));
    ApplyFont();
}

void HPDFWrapper::SetFont(const std::string& name) {
    font_ = Checked(HPDF_GetFont(OpenDocument(), name.c_str(), "ISO8859-2"));
    if (page_ != nullptr) {
        ApplyFont();
    }
}

void HPDFWrapper::SetFontSize(float heightPercent) {
    fontSize_ = static_cast<unsigned int>(std::max(0, HeightPercentToPoints(heightPercent)));
    if (page_ != nullptr) {
        ApplyFont();
    }
}

// The page gets the font only when text is drawn: a document that changes font and size
// several times per line (labels) carries one change per text, not one per call.
void HPDFWrapper::ApplyFont() {
    fontPending_ = true;
}

void HPDFWrapper::ApplyPendingFont() {
    if (fontPending_) {
        Checked(HPDF_Page_SetFontAndSize(CurrentPage(), font_, static_cast<HPDF_REAL>(fontSize_)));
        fontPending_ = false;
    }
}

void HPDFWrapper::WriteText(float x, float y, const std::string& text) {
    const PagePoint point = PercentToPoints(x, y);
    ShowText(point.x, point.y, ToLatin2(text));
}

void HPDFWrapper::ShowText(int x, int y, const std::string& latin2Text) {
    HPDF_Page page = CurrentPage();
    ApplyPendingFont();
    Checked(HPDF_Page_BeginText(page));
    Checked(HPDF_Page_TextOut(page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(y),
                              latin2Text.c_str()));
    Checked(HPDF_Page_EndText(page));
}

std::size_t HPDFWrapper::BytesThatFit(const std::string& latin2Text, float widthPoints) {
    HPDF_REAL realWidth = 0;
    return Checked(
        HPDF_Font_MeasureText(font_, reinterpret_cast<const HPDF_BYTE*>(latin2Text.data()),
                              static_cast<HPDF_UINT>(latin2Text.size()), widthPoints,
                              static_cast<HPDF_REAL>(fontSize_), 0, 0, HPDF_FALSE, &realWidth));
}

void HPDFWrapper::SetFontSizePoints(unsigned int points) {
    fontSize_ = points;
    if (page_ != nullptr) {
        ApplyFont();
    }
}

void HPDFWrapper::WriteTextAt(float x, float baseline, float width, const std::string& text) {
    std::string latin2 = ToDrawableLatin2(text);
    latin2.resize(std::min(latin2.size(), BytesThatFit(latin2, width)));
    if (latin2.empty()) {
        return;
    }
    HPDF_Page page = CurrentPage();
    ApplyPendingFont();
    Checked(HPDF_Page_BeginText(page));
    Checked(HPDF_Page_TextOut(page, x, baseline, latin2.c_str()));
    Checked(HPDF_Page_EndText(page));
}

float HPDFWrapper::TextWidth(const std::string& text) {
    const std::string latin2 = ToDrawableLatin2(text);
    return Checked(HPDF_Font_TextWidth(font_, reinterpret_cast<const HPDF_BYTE*>(latin2.data()),
                                       static_cast<HPDF_UINT>(latin2.size())))
               .width *
           static_cast<float>(fontSize_) / 1000.0f;
}

void HPDFWrapper::FillRectangles(const std::vector<PageRectangle>& rectangles, float scaleX,
                                 float scaleY, float originX, float originY) {
    HPDF_Page page = CurrentPage();
    if (rectangles.empty()) {  // filling no path is an error of its own
        return;
    }
    Checked(HPDF_Page_GSave(page));
    Checked(HPDF_Page_Concat(page, scaleX, 0, 0, scaleY, originX, originY));
    for (const PageRectangle& rectangle : rectangles) {
        Checked(
            HPDF_Page_Rectangle(page, rectangle.x, rectangle.y, rectangle.width, rectangle.height));
    }
    Checked(HPDF_Page_Fill(page));
    Checked(HPDF_Page_GRestore(page));
}

float HPDFWrapper::LineHeight() const {
    return PointsToHeightPercent(static_cast<float>(LineSpacing + fontSize_));
}

float HPDFWrapper::FontHeight() const {
    return PointsToHeightPercent(static_cast<float>(fontSize_));
}

PagePoint HPDFWrapper::PercentToPoints(float x, float y) const {
    return {XPercentToPoints(x), YPercentToPoints(y)};
}

int HPDFWrapper::XPercentToPoints(float x) const {
    return static_cast<int>(static_cast<double>(x) * pageWidth_ / 100.0);
}

int HPDFWrapper::YPercentToPoints(float y) const {
    return static_cast<int>(pageHeight_ - pageHeight_ * static_cast<double>(y) / 100.0);
}

int HPDFWrapper::HeightPercentToPoints(float height) const {
    return static_cast<int>(static_cast<double>(height) * pageHeight_ / 100.0);
}

PagePercent HPDFWrapper::PointsToPercent(float x, float y) const {
    return {PointsToXPercent(x), PointsToYPercent(y)};
}

float HPDFWrapper::PointsToXPercent(float x) const {
    return x / pageWidth_ * 100.0f;
}

float HPDFWrapper::PointsToYPercent(float y) const {
    return (pageHeight_ - y) / pageHeight_ * 100.0f;
}

float HPDFWrapper::PointsToHeightPercent(float height) const {
    return height / pageHeight_ * 100.0f;
}

int HPDFWrapper::DrawTable(float x, float y, const PdfTableStyle& style, const PdfTable& table,
                           const PdfColumns& columns, int firstRow, int spaceForHowManyRows,
                           float& finishedAtY) {
    if (firstRow < 0 || spaceForHowManyRows < 1) {
        throw std::out_of_range("DrawTable: firstRow or spaceForHowManyRows");
    }
    if (table.Columns() != columns.Columns()) {
        throw std::out_of_range("DrawTable: t.Columns() != c.Columns()");
    }
    if (columns.Columns() == 0) {
        throw std::out_of_range("DrawTable: Zero columns");
    }
    SetFontSize(style.fontSize);
    const bool header = columns.HasHeader();
    // A first row beyond the table draws no rows, never a negative number of them.
    const int rowsLeft = std::max(0, static_cast<int>(table.Rows()) - firstRow);
    const int rows = std::min(spaceForHowManyRows - (header ? 1 : 0), rowsLeft);
    const float margin = LineHeight() / 6.0f;
    const float firstRowTop = header ? y + style.headerHeight : y;

    DrawRules(x, y, style, columns, header, rows);
    if (header) {
        WriteRowTexts(*this, x, y, columns, margin,
                      [&columns](std::size_t column) -> const std::string& {
                          return columns.At(column).title;
                      });
    }
    for (int i = 0; i < rows; ++i) {
        const auto row = static_cast<std::size_t>(firstRow + i);
        WriteRowTexts(*this, x, firstRowTop + static_cast<float>(i) * style.rowHeight, columns,
                      margin, [&table, row](std::size_t column) -> const std::string& {
                          return table.Cell(column, row);
                      });
    }
    finishedAtY = firstRowTop + static_cast<float>(rows) * style.rowHeight;
    LogMessage(LogDetail, "DrawTable() : first row: %i content rows: %i , finished at Y: %0.1f\n",
               firstRow, rows, static_cast<double>(finishedAtY));
    return rows;
}

void HPDFWrapper::DrawRules(float x, float y, const PdfTableStyle& style, const PdfColumns& columns,
                            bool header, int rows) {
    HPDF_Page page = CurrentPage();
    Checked(HPDF_Page_SetLineWidth(page, RuleWidth));
    const float right = x + static_cast<float>(columns.TotalWidth());
    const float firstRowTop = header ? y + style.headerHeight : y;
    const float bottom = firstRowTop + static_cast<float>(rows) * style.rowHeight;
    if (header) {
        Line(x, y, right, y);
    }
    for (int i = 0; i <= rows; ++i) {
        const float lineY = firstRowTop + static_cast<float>(i) * style.rowHeight;
        Line(x, lineY, right, lineY);
    }
    float left = x;
    for (std::size_t column = 0; column <= columns.Columns(); ++column) {
        const bool last = column == columns.Columns();
        const bool joined = header && !last && columns.At(column).headerJoin;
        Line(left, joined ? firstRowTop : y, left, bottom);
        if (!last) {
            left += static_cast<float>(columns.At(column).width);
        }
    }
    Checked(HPDF_Page_Stroke(page));
}

void HPDFWrapper::Line(float x1, float y1, float x2, float y2) {
    const PagePoint from = PercentToPoints(x1, y1);
    const PagePoint to = PercentToPoints(x2, y2);
    Checked(
        HPDF_Page_MoveTo(page_, static_cast<HPDF_REAL>(from.x), static_cast<HPDF_REAL>(from.y)));
    Checked(HPDF_Page_LineTo(page_, static_cast<HPDF_REAL>(to.x), static_cast<HPDF_REAL>(to.y)));
}

void WriteSingleTextIntoWidth(float x, float y, float width, const std::string& text,
                              HPDFWrapper& writer) {
    const PagePoint point = writer.PercentToPoints(x, y);
    const auto widthPoints = static_cast<float>(writer.XPercentToPoints(width));
    std::string latin2 = ToLatin2(text);
    std::size_t fitting = writer.BytesThatFit(latin2, widthPoints);
    const std::size_t firstVisible = latin2.find_first_not_of(' ');
    if (fitting < latin2.size() && firstVisible != std::string::npos && firstVisible > 0) {
        // Blanks that pad an amount to the right give way before any of its digits is cut.
        latin2.erase(0, firstVisible);
        fitting = writer.BytesThatFit(latin2, widthPoints);
    }
    if (fitting == 0) {
        throw std::runtime_error("WriteSingleTextIntoWidth: HPDF_Font_MeasureText failed.");
    }
    latin2.resize(fitting);
    writer.ShowText(point.x, point.y - static_cast<int>(writer.FontSizePoints()), latin2);
}

}  // namespace Kramo
