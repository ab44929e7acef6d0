#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "import/ExcelFileWrapper.h"
#include "import/GridBuilder.h"
#include "import/XmlStreamReader.h"

namespace KramoExcel {

// Reads ods workbooks (OpenDocument, as LibreOffice and gnumeric save them): the first table
// of content.xml becomes the grid, its cells as the XLS reader gives the same cells. Repeated
// empty rows and cells only move the position, however many they are; repeated filled ones
// count as every cell they make.
class OdsWorkbook : public ExcelFileWrapper {
  public:
    void LoadFile(const std::string& path) override;

  private:
    static void ReadTable(XmlStreamReader& xml, GridBuilder& grid);
    // Puts the row (as often as it repeats) from firstRow on; answers how many rows it takes.
    static std::size_t ReadRow(XmlStreamReader& xml, std::size_t firstRow, GridBuilder& grid);
    // The text of the cell the reader stands on; none for an empty cell.
    static std::optional<std::string> ReadCell(XmlStreamReader& xml);
    // The paragraphs of the cell joined by line breaks, spaces, tabs and breaks included.
    static std::string ReadParagraphs(XmlStreamReader& xml, bool& hasParagraph);
};

}  // namespace KramoExcel
