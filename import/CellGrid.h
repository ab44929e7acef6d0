#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>

namespace KramoExcel {

// The cell texts of a sheet, Rows x Columns, holding only the cells that show something: a
// sheet may reach row 65,536 and column 256 with a few hundred filled cells, and a full grid
// of that size would take gigabytes.
class CellGrid {
  public:
    // (row, column), so that the cells run row by row from the top, each row from the left.
    using Position = std::pair<std::size_t, std::size_t>;

    CellGrid() = default;
    CellGrid(std::size_t rows, std::size_t columns) : rows_(rows), columns_(columns) {}

    std::size_t Rows() const { return rows_; }
    std::size_t Columns() const { return columns_; }
    // Column first, as in the document tables. Empty where nothing was put; throws
    // std::out_of_range "Cell() out of range" outside the grid.
    const std::string& Cell(std::size_t column, std::size_t row) const;
    // An empty text leaves the cell empty. Throws like Cell outside the grid.
    void Put(std::size_t column, std::size_t row, std::string text);
    // The cells that show something, in reading order.
    const std::map<Position, std::string>& Filled() const { return filled_; }

  private:
    void CheckInside(std::size_t column, std::size_t row) const;

    std::size_t rows_ = 0;
    std::size_t columns_ = 0;
    std::map<Position, std::string> filled_;
};

}  // namespace KramoExcel
