#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Kramo {

// A grid of text cells, Rows x Columns, stored row by row: the content of a document table,
// and the cell texts of an imported sheet.
class PdfTable {
  public:
    PdfTable() = default;
    PdfTable(std::size_t rows, std::size_t columns) { Resize(rows, columns); }

    // Keeps the cells of the overlapping top-left part and empties the rest.
    void Resize(std::size_t rows, std::size_t columns);

    // Column first. Throws std::out_of_range "Cell() out of range" outside the grid.
    std::string& Cell(std::size_t column, std::size_t row);
    const std::string& Cell(std::size_t column, std::size_t row) const;

    std::size_t Rows() const { return rows_; }
    std::size_t Columns() const { return columns_; }

  private:
    std::size_t IndexOf(std::size_t column, std::size_t row) const;

    std::size_t rows_ = 0;
    std::size_t columns_ = 0;
    std::vector<std::string> cells_;
};

}  // namespace Kramo
