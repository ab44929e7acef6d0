#pragma once

#include <cstddef>
#include <string>

#include "import/ExcelFileWrapper.h"
#include "import/GridBuilder.h"

namespace KramoExcel {

// Reads csv seller sheets: every field is a text cell. The text is UTF-8, with or without a
// byte-order mark, or else Windows-1250 (what Excel writes on a Slovak Windows); the separator
// is ';', ',' or a tab, whichever stands most often outside quotes on the first lines. Fields
// in double quotes may hold separators, line breaks and doubled quotes.
class CsvSheet : public ExcelFileWrapper {
  public:
    static constexpr std::size_t MaxFileBytes = std::size_t{16} << 20;

    void LoadFile(const std::string& path) override;

    // The separator of a text already in UTF-8.
    static char DetectSeparator(const std::string& text);
    // Splits the text into the grid's fields; throws std::runtime_error with the reason in
    // words at an unterminated quote and past the grid's limits.
    static void Split(const std::string& text, char separator, GridBuilder& grid);

  private:
    static std::string ReadFile(const std::string& path);
    static std::string ToUtf8(std::string bytes);
};

}  // namespace KramoExcel
