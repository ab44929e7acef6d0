#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <cairo.h>

#include "pdf/PdfCanvas.h"

namespace Kramo {

// A PDF of A4 pages written page by page into its file through cairo. A finished page leaves
// memory at once, so that the labels of a whole sale, tens of thousands of sheets, take no
// more memory than one sheet; the document writer keeps every page until it saves.
class StreamedPdfCanvas : public PdfCanvas {
  public:
    static constexpr double A4Width = 595.0;
    static constexpr double A4Height = 841.0;

    explicit StreamedPdfCanvas(std::FILE* file);

    // Ends the document; throws when it could not be written whole.
    void Finish();

    void NewPage(const std::string& title) override;
    void SetFont(const std::string& name) override;
    void SetFontSizePoints(unsigned int points) override;
    void WriteTextAt(float x, float baseline, float width, const std::string& text) override;
    float TextWidth(const std::string& text) override;
    void FillRectangles(const std::vector<PageRectangle>& rectangles, float scaleX, float scaleY,
                        float originX, float originY) override;

  private:
    struct SurfaceRelease {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct ContextRelease {
        void operator()(cairo_t* context) const { cairo_destroy(context); }
    };

    static cairo_status_t WriteToFile(void* file, const unsigned char* data, unsigned int length);
    void Check() const;
    std::size_t BytesThatFit(const std::string& text, float width);

    std::unique_ptr<cairo_surface_t, SurfaceRelease> surface_;
    std::unique_ptr<cairo_t, ContextRelease> context_;
    int rootBookmark_ = 0;
    int pages_ = 0;
};

// Writes the document into the file at path so that the path holds all of it or what it held
// before (see ReplaceFileContents). What content drew before it threw is still saved, and
// its exception then passes on; a file that could not be written throws std::runtime_error.
void WriteStreamedPdf(const std::string& path, const std::string& saleName,
                      const std::string& computerName,
                      const std::function<void(PdfCanvas&)>& content);

}  // namespace Kramo
