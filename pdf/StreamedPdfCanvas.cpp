#include "StreamedPdfCanvas.h"

#include <cairo-pdf.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <stdexcept>

#include "support/FileHelpers.h"
#include "support/FormatText.h"
#include "support/TextHelpers.h"

namespace Kramo {
namespace {

// fontconfig gives the metric twin of Helvetica where one is installed, a sans-serif otherwise.
constexpr const char* FontFamily = "Helvetica";
constexpr const char* BoldFontName = "Helvetica-Bold";

}  // namespace

StreamedPdfCanvas::StreamedPdfCanvas(std::FILE* file)
    : surface_(cairo_pdf_surface_create_for_stream(&StreamedPdfCanvas::WriteToFile, file, A4Width,
                                                   A4Height)),
      context_(cairo_create(surface_.get())) {
    Check();
    cairo_pdf_surface_set_metadata(surface_.get(), CAIRO_PDF_METADATA_CREATOR, "Kramo");
    rootBookmark_ = cairo_pdf_surface_add_outline(surface_.get(), CAIRO_PDF_OUTLINE_ROOT, "Kramo",
                                                  "", CAIRO_PDF_OUTLINE_FLAG_OPEN);
    SetFont(FontFamily);
    SetFontSizePoints(10);
}

cairo_status_t StreamedPdfCanvas::WriteToFile(void* file, const unsigned char* data,
                                              unsigned int length) {
    return std::fwrite(data, 1, length, static_cast<std::FILE*>(file)) == length
               ? CAIRO_STATUS_SUCCESS
               : CAIRO_STATUS_WRITE_ERROR;
}

void StreamedPdfCanvas::Check() const {
    cairo_status_t status = cairo_surface_status(surface_.get());
    if (status == CAIRO_STATUS_SUCCESS && context_) {
        status = cairo_status(context_.get());
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error(FormatText("PDF error: %s\n", cairo_status_to_string(status)));
    }
}

void StreamedPdfCanvas::Finish() {
    Check();
    context_.reset();
    cairo_surface_finish(surface_.get());
    Check();
}

void StreamedPdfCanvas::NewPage(const std::string& title) {
    if (pages_ > 0) {
        cairo_show_page(context_.get());
    }
    ++pages_;
    cairo_pdf_surface_add_outline(surface_.get(), rootBookmark_, WellFormedUtf8(title).c_str(),
                                  FormatText("page=%i", pages_).c_str(),
                                  static_cast<cairo_pdf_outline_flags_t>(0));
    Check();
}

void StreamedPdfCanvas::SetFont(const std::string& name) {
    cairo_select_font_face(
        context_.get(), FontFamily, CAIRO_FONT_SLANT_NORMAL,
        name == BoldFontName ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
}

void StreamedPdfCanvas::SetFontSizePoints(unsigned int points) {
    cairo_set_font_size(context_.get(), points);
}

float StreamedPdfCanvas::TextWidth(const std::string& text) {
    cairo_text_extents_t extents{};
    cairo_text_extents(context_.get(), WellFormedUtf8(text).c_str(), &extents);
    return static_cast<float>(extents.x_advance);
}

std::size_t StreamedPdfCanvas::BytesThatFit(const std::string& text, float width) {
    if (TextWidth(text) <= width) {
        return text.size();
    }
    // The longest run of whole characters that fits: bisection over the character starts.
    std::vector<std::size_t> ends;
    for (std::size_t at = 1; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) {
            ends.push_back(at);
        }
    }
    std::size_t fitting = 0;
    std::size_t low = 0;
    std::size_t high = ends.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (TextWidth(text.substr(0, ends[middle])) <= width) {
            fitting = ends[middle];
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return fitting;
}

void StreamedPdfCanvas::WriteTextAt(float x, float baseline, float width, const std::string& text) {
    const std::string drawable = WellFormedUtf8(text);
    const std::size_t fitting = BytesThatFit(drawable, width);
    if (fitting == 0) {
        return;
    }
    cairo_move_to(context_.get(), x, A4Height - baseline);
    cairo_show_text(context_.get(), drawable.substr(0, fitting).c_str());
}

namespace {

// The rectangles as the dash pattern of one line along their row, when they are bars of one
// height side by side from left to right (a barcode); empty otherwise.
std::vector<double> BarsAsDashes(const std::vector<PageRectangle>& rectangles) {
    std::vector<double> dashes;
    for (std::size_t index = 0; index < rectangles.size(); ++index) {
        const PageRectangle& bar = rectangles[index];
        const bool sameRow = bar.y == rectangles.front().y &&
                             bar.height == rectangles.front().height && bar.width > 0.0f;
        const float gap =
            index + 1 < rectangles.size() ? rectangles[index + 1].x - bar.x - bar.width : 1.0f;
        if (!sameRow || !(gap > 0.0f)) {
            return {};
        }
        dashes.push_back(bar.width);
        dashes.push_back(gap);
    }
    return dashes;
}

}  // namespace

void StreamedPdfCanvas::FillRectangles(const std::vector<PageRectangle>& rectangles, float scaleX,
                                       float scaleY, float originX, float originY) {
    if (rectangles.empty()) {
        return;
    }
    cairo_t* context = context_.get();
    cairo_save(context);
    cairo_translate(context, originX, A4Height - originY);
    cairo_scale(context, scaleX, -scaleY);
    const std::vector<double> dashes = BarsAsDashes(rectangles);
    if (dashes.empty()) {
        for (const PageRectangle& rectangle : rectangles) {
            cairo_rectangle(context, rectangle.x, rectangle.y, rectangle.width, rectangle.height);
        }
        cairo_fill(context);
    } else {
        // The bars of a barcode as one dashed line as high as the bars: a few numbers in the
        // page instead of a path of four corners for each bar.
        const PageRectangle& first = rectangles.front();
        const PageRectangle& last = rectangles.back();
        cairo_set_line_cap(context, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_width(context, first.height);
        cairo_set_dash(context, dashes.data(), static_cast<int>(dashes.size()), 0.0);
        cairo_move_to(context, first.x, first.y + first.height / 2.0);
        cairo_line_to(context, last.x + last.width, first.y + first.height / 2.0);
        cairo_stroke(context);
    }
    cairo_restore(context);
}

void WriteStreamedPdf(const std::string& path, const std::string& saleName,
                      const std::string& computerName,
                      const std::function<void(PdfCanvas&)>& content) {
    std::exception_ptr failure;
    const Replacement replaced = ReplaceFileContents(path, path + ".part", [&](std::FILE* file) {
        try {
            StreamedPdfCanvas canvas(file);
            canvas.SetOrigin(saleName, computerName);
            try {
                content(canvas);
            } catch (...) {
                failure = std::current_exception();
            }
            canvas.Finish();
            return true;
        } catch (...) {
            failure = failure ? failure : std::current_exception();
            return false;
        }
    });
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (replaced != Replacement::Done) {
        throw std::runtime_error(
            FormatText("PDF error: '%s' not written: %s\n", path.c_str(), std::strerror(errno)));
    }
}

}  // namespace Kramo
