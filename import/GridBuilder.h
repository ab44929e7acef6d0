#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "import/CellGrid.h"
#include "import/Worksheet.h"

namespace KramoExcel {

// Collects the cells of a sheet read as a stream, whose size is known only at its end, and
// keeps a hostile file from exhausting the memory: at most MaxCells cells, MaxCellBytes of
// text in one cell and MaxTextBytes in all. Cells beyond the largest sheet (MaxRows x MaxColumns)
// are passed over, as the XLS reader passes over those beyond its format.
class GridBuilder {
  public:
    static constexpr std::size_t MaxRows = std::size_t{1} << 20;
    static constexpr std::size_t MaxColumns = std::size_t{1} << 14;
    static constexpr std::size_t MaxCells = YExcel::Worksheet::MaxCells;  // as in XLS
    static constexpr std::size_t MaxCellBytes = std::size_t{64} << 10;
    static constexpr std::size_t MaxTextBytes = std::size_t{64} << 20;

    // Each throws std::runtime_error with the reason in words when the text passes its limit:
    // one cell's text, the texts of a sheet together.
    static void CheckCellText(std::size_t bytes);
    static void CheckSheetText(std::size_t bytes);

    // A cell the file holds; an empty text (a formula) makes the grid larger all the same.
    // Throws std::runtime_error with the reason in words past a limit.
    void Put(std::size_t row, std::size_t column, std::string text);
    // Throws as Put would when so many more cells would pass the limit.
    void ExpectMore(std::size_t cells) const;
    // The refusal of a sheet of more than MaxCells cells, in any format.
    static std::runtime_error TooManyCells();

    // The grid of every cell put, as large as its last row and column.
    CellGrid Finish();

  private:
    std::vector<std::tuple<std::size_t, std::size_t, std::string>> cells_;
    std::size_t rows_ = 0;
    std::size_t columns_ = 0;
    std::size_t textBytes_ = 0;
};

}  // namespace KramoExcel
