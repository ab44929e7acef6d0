#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "import/CellRecord.h"

namespace YExcel {

enum CellKind { CellEmpty = 0, CellInteger, CellDouble, CellText8, CellText16, CellFormula };

// One cell of a worksheet's grid.
class ExcelCell {
  public:
    CellKind Kind() const { return kind_; }
    uint16_t Format() const { return format_; }

    // The whole number of an integer cell, the truncated value of a fraction or of a
    // formula's numeric result; false for every other cell.
    bool GetInteger(int32_t& value) const;
    // The number of a numeric cell or formula result; 0 otherwise.
    double GetDouble() const;
    // The characters of a text cell (either width); empty otherwise.
    const std::u16string& Text() const { return text_; }
    const FormulaRecord* Formula() const { return formula_.get(); }

    void SetInteger(int32_t value);
    void SetDouble(double value);
    void SetText(const SharedString& text);
    void SetFormula(std::shared_ptr<const FormulaRecord> formula);
    void SetFormat(uint16_t format) { format_ = format; }

  private:
    CellKind kind_ = CellEmpty;
    int32_t integer_ = 0;
    double double_ = 0.0;
    std::u16string text_;
    uint16_t format_ = 0;
    std::shared_ptr<const FormulaRecord> formula_;
};

}  // namespace YExcel
