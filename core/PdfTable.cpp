#include "PdfTable.h"

#include <algorithm>
#include <stdexcept>

namespace Kramo {

void PdfTable::Resize(std::size_t rows, std::size_t columns) {
    if (rows == rows_ && columns == columns_) {
        return;
    }
    std::vector<std::string> cells(rows * columns);
    for (std::size_t row = 0; row < std::min(rows, rows_); ++row) {
        for (std::size_t column = 0; column < std::min(columns, columns_); ++column) {
            cells[row * columns + column] = std::move(cells_[IndexOf(column, row)]);
        }
    }
    cells_ = std::move(cells);
    rows_ = rows;
    columns_ = columns;
}

std::size_t PdfTable::IndexOf(std::size_t column, std::size_t row) const {
    if (row >= rows_ || column >= columns_) {
        throw std::out_of_range("Cell() out of range");
    }
    return row * columns_ + column;
}

std::string& PdfTable::Cell(std::size_t column, std::size_t row) {
    return cells_[IndexOf(column, row)];
}

const std::string& PdfTable::Cell(std::size_t column, std::size_t row) const {
    return cells_[IndexOf(column, row)];
}

}  // namespace Kramo
