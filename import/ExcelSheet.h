#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "import/ExcelCell.h"
#include "import/Workbook.h"
#include "import/Worksheet.h"

namespace YExcel {

// A worksheet as a grid of typed cells. Only cells that hold something are kept, so a
// damaged file naming row 65535 costs no memory for the rows between.
class ExcelSheet {
  public:
    static constexpr uint32_t MaxRows = 65536;
    static constexpr uint32_t MaxColumns = 256;

    // The grid of a parsed worksheet: its size comes from the cell records.
    ExcelSheet(const Worksheet& worksheet, const Workbook& workbook);

    uint32_t RowCount() const { return rows_; }
    uint32_t ColumnCount() const { return columns_; }
    // Grows the grid to include the cell; none beyond the largest possible grid.
    ExcelCell* Cell(uint32_t row, uint32_t column);
    // The cell as it stands; an empty cell outside the grid or where nothing was written.
    const ExcelCell& CellAt(uint32_t row, uint32_t column) const;
    // A LABELSST naming a string the table does not have (a damaged workbook).
    bool HasMissingStrings() const { return missingStrings_; }
    // Why the sheet cannot be taken as it stands: damage in the globals, in the sheet itself,
    // or a string it names missing. Empty when it was read whole.
    const std::string& Damage() const { return damage_; }
    // More cells than the reader keeps (Worksheet::MaxCells): the sheet holds none of them.
    bool Overfull() const { return overfull_; }
    // Every cell that holds something, row by row from the top, each row from the left.
    void ForEachCell(const std::function<void(uint32_t row, uint32_t column,
                                              const ExcelCell& cell)>& visit) const;

  private:
    void Apply(const CellBlock& block, const Workbook& workbook);
    static uint32_t Key(uint32_t row, uint32_t column) { return row * MaxColumns + column; }

    uint32_t rows_ = 1;
    uint32_t columns_ = 1;
    std::map<uint32_t, ExcelCell> cells_;
    bool missingStrings_ = false;
    std::string damage_;
    bool overfull_ = false;
};

}  // namespace YExcel
