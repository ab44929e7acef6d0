#include "ExcelSheet.h"

#include <algorithm>

namespace YExcel {
namespace {

void SetNumber(ExcelCell& cell, const RkNumber& number) {
    if (number.isInteger) {
        cell.SetInteger(number.integer);
    } else {
        cell.SetDouble(number.value);
    }
}

}  // namespace

ExcelSheet::ExcelSheet(const Worksheet& worksheet, const Workbook& workbook)
    : damage_(workbook.damage.empty() ? worksheet.damage : workbook.damage),
      overfull_(worksheet.overfull) {
    uint32_t highestRow = 0;
    uint32_t highestColumn = 0;
    for (const CellBlock& block : worksheet.cells) {
        if (block.CountsForSize()) {
            highestRow = std::max<uint32_t>(highestRow, block.row);
            highestColumn = std::max<uint32_t>(highestColumn, block.HighestColumn());
        }
    }
    rows_ = highestRow + 1;
    columns_ = std::min(highestColumn + 1, MaxColumns);
    for (const CellBlock& block : worksheet.cells) {
        Apply(block, workbook);
    }
    if (damage_.empty() && missingStrings_) {
        damage_ = "a cell names a string the workbook does not have";
    }
}

void ExcelSheet::ForEachCell(
    const std::function<void(uint32_t row, uint32_t column, const ExcelCell& cell)>& visit) const {
    for (const auto& [key, cell] : cells_) {
        visit(key / MaxColumns, key % MaxColumns, cell);
    }
}

ExcelCell* ExcelSheet::Cell(uint32_t row, uint32_t column) {
    if (row >= MaxRows || column >= MaxColumns) {
        return nullptr;
    }
    rows_ = std::max(rows_, row + 1);
    columns_ = std::max(columns_, column + 1);
    return &cells_[Key(row, column)];
}

const ExcelCell& ExcelSheet::CellAt(uint32_t row, uint32_t column) const {
    static const ExcelCell empty;
    if (row >= rows_ || column >= columns_) {
        return empty;
    }
    const auto found = cells_.find(Key(row, column));
    return found == cells_.end() ? empty : found->second;
}

void ExcelSheet::Apply(const CellBlock& block, const Workbook& workbook) {
    if (block.code == RecordCode::MulRK) {
        for (std::size_t i = 0; i < block.numbers.size(); ++i) {
            if (ExcelCell* cell = Cell(block.row, block.column + static_cast<uint32_t>(i))) {
                SetNumber(*cell, block.numbers[i]);
                cell->SetFormat(block.format);
            }
        }
        return;
    }
    if (block.code == RecordCode::Blank || block.code == RecordCode::MulBlank) {
        return;  // blank cells neither hold anything nor make the grid larger
    }
    ExcelCell* cell = Cell(block.row, block.column);
    if (cell == nullptr) {
        return;
    }
    switch (block.code) {
        case RecordCode::LabelSST:
            if (workbook.sharedStrings.Has(block.stringIndex)) {
                cell->SetText(workbook.sharedStrings.At(block.stringIndex));
            } else {
                missingStrings_ = true;
            }
            break;
        case RecordCode::Label:
        case RecordCode::RString:
            cell->SetText(block.text);
            break;
        case RecordCode::RK:
            SetNumber(*cell, block.numbers.front());
            break;
        case RecordCode::Number:
            cell->SetDouble(block.number);
            break;
        case RecordCode::BoolErr:
            if (!block.isError) {
                cell->SetInteger(block.boolValue);
            }
            break;
        case RecordCode::Formula:
            cell->SetFormula(block.formula);
            break;
        default:
            break;
    }
    cell->SetFormat(block.format);
}

}  // namespace YExcel
