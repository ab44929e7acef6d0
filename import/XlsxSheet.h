#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "import/GridBuilder.h"
#include "import/XmlStreamReader.h"
#include "import/ZipEntry.h"

namespace KramoExcel {

// The cells of one worksheet part of an xlsx workbook, each as the XLS reader would give the
// same cell: shared and inline strings with their rich text runs joined, numbers, booleans as
// "1" or "0", formulas and errors empty whatever their cached result.
class XlsxSheet {
  public:
    explicit XlsxSheet(const std::vector<std::string>& sharedStrings)
        : sharedStrings_(sharedStrings) {}

    // Throws std::runtime_error with the reason in words.
    void Read(ZipEntry& part, GridBuilder& grid) const;

    // The text of a rich text element (<si>, <is>) the reader stands on: its <t> runs joined,
    // the phonetic hints (<rPh>) left out.
    static std::string ReadRichText(XmlStreamReader& xml);
    // Every character the element the reader stands on holds.
    static std::string ReadElementText(XmlStreamReader& xml);

  private:
    struct Position {
        std::size_t row = 0;
        std::size_t column = 0;
    };

    void ReadCell(XmlStreamReader& xml, Position& next, GridBuilder& grid) const;
    std::string SharedString(const std::string& index, const std::string& reference) const;

    const std::vector<std::string>& sharedStrings_;
};

}  // namespace KramoExcel
