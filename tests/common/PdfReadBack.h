#pragma once

#include <string>
#include <vector>

namespace KramoTest {

// A program's exit code and what it wrote to its standard output.
struct ToolRun {
    int exitCode = -1;
    std::string output;
};

// Starts the program with the argument vector (no shell) and waits for it.
ToolRun RunTool(const std::vector<std::string>& arguments);

// A word on a page and its box in points, as pdftotext places it (y from the top edge).
struct PdfWord {
    std::string text;
    double xMin = 0.0;
    double yMin = 0.0;
    double xMax = 0.0;
    double yMax = 0.0;
};

// A page's size in points and its words.
struct PdfPageWords {
    double width = 0.0;
    double height = 0.0;
    std::vector<PdfWord> words;
};

// A written PDF read back with the poppler and qpdf tools.
class PdfReadBack {
  public:
    explicit PdfReadBack(std::string path) : path_(std::move(path)) {}

    // The text of each page in reading layout, as pdftotext gives it.
    std::vector<std::string> Pages() const;
    std::string Text() const;
    // The lines of one page that are not blank, trailing blanks removed.
    std::vector<std::string> Lines(std::size_t page) const;
    // The titles of the bookmarks: the top bookmark first, then its children in order.
    std::vector<std::string> Bookmarks() const;
    // Every page with its size and where its words stand.
    std::vector<PdfPageWords> Words() const;
    // The content of every barcode on the pages printed at the resolution (pdftoppm), as a
    // scanner reads them (zbarimg), page by page.
    std::vector<std::string> Barcodes(int dotsPerInch) const;
    // qpdf --check passes without warnings.
    bool StructureIsSound(std::string& report) const;

  private:
    std::string path_;
};

}  // namespace KramoTest
