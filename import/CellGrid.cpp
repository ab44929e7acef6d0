#include "CellGrid.h"

#include <stdexcept>

namespace KramoExcel {

void CellGrid::CheckInside(std::size_t column, std::size_t row) const {
    if (row >= rows_ || column >= columns_) {
        throw std::out_of_range("Cell() out of range");
    }
}

const std::string& CellGrid::Cell(std::size_t column, std::size_t row) const {
    static const std::string empty;
    CheckInside(column, row);
    const auto found = filled_.find({row, column});
    return found == filled_.end() ? empty : found->second;
}

void CellGrid::Put(std::size_t column, std::size_t row, std::string text) {
    CheckInside(column, row);
    if (text.empty()) {
        filled_.erase({row, column});
    } else {
        filled_[{row, column}] = std::move(text);
    }
}

}  // namespace KramoExcel
