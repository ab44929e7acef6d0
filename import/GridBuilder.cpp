#include "GridBuilder.h"

#include <algorithm>
#include <stdexcept>

#include "support/FormatText.h"
#include "support/Translation.h"

namespace KramoExcel {

void GridBuilder::CheckCellText(std::size_t bytes) {
    if (bytes > MaxCellBytes) {
        throw std::runtime_error(Kramo::FormatText(
            _("bunka hárka má viac ako %zu kB textu, toľko program v bunke nenačíta"),
            MaxCellBytes >> 10));
    }
}

void GridBuilder::CheckSheetText(std::size_t bytes) {
    if (bytes > MaxTextBytes) {
        throw std::runtime_error(Kramo::FormatText(
            _("hárok má viac ako %zu MB textu, toľko ho program nenačíta"), MaxTextBytes >> 20));
    }
}

void GridBuilder::ExpectMore(std::size_t cells) const {
    if (cells > MaxCells - cells_.size()) {
        throw TooManyCells();
    }
}

std::runtime_error GridBuilder::TooManyCells() {
    return std::runtime_error(
        Kramo::FormatText(_("hárok má viac ako %zu buniek, toľko ich program nenačíta"), MaxCells));
}

void GridBuilder::Put(std::size_t row, std::size_t column, std::string text) {
    if (row >= MaxRows || column >= MaxColumns) {
        return;
    }
    ExpectMore(1);
    CheckCellText(text.size());
    textBytes_ += text.size();
    CheckSheetText(textBytes_);
    rows_ = std::max(rows_, row + 1);
    columns_ = std::max(columns_, column + 1);
    cells_.emplace_back(row, column, std::move(text));
}

CellGrid GridBuilder::Finish() {
    CellGrid grid(std::max<std::size_t>(rows_, 1), std::max<std::size_t>(columns_, 1));
    for (auto& [row, column, text] : cells_) {
        grid.Put(column, row, std::move(text));
    }
    cells_.clear();
    return grid;
}

}  // namespace KramoExcel
