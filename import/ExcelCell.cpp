#include "ExcelCell.h"

namespace YExcel {

bool ExcelCell::GetInteger(int32_t& value) const {
    switch (kind_) {
        case CellInteger:
            value = integer_;
            return true;
        case CellDouble:
            value = static_cast<int32_t>(double_);
            return true;
        case CellFormula:
            if (formula_->HasNumericResult()) {
                value = static_cast<int32_t>(formula_->NumericResult());
                return true;
            }
            return false;
        default:
            return false;
    }
}

double ExcelCell::GetDouble() const {
    switch (kind_) {
        case CellInteger:
            return integer_;
        case CellDouble:
            return double_;
        case CellFormula:
            return formula_->HasNumericResult() ? formula_->NumericResult() : 0.0;
        default:
            return 0.0;
    }
}

void ExcelCell::SetInteger(int32_t value) {
    kind_ = CellInteger;
    integer_ = value;
}

void ExcelCell::SetDouble(double value) {
    kind_ = CellDouble;
    double_ = value;
}

void ExcelCell::SetText(const SharedString& text) {
    text_ = text.characters;
    if (text.is16Bit) {
        kind_ = CellText16;
    } else {
        kind_ = text_.empty() ? CellEmpty : CellText8;
    }
}

void ExcelCell::SetFormula(std::shared_ptr<const FormulaRecord> formula) {
    kind_ = CellFormula;
    formula_ = std::move(formula);
}

}  // namespace YExcel
