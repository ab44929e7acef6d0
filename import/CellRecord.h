#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "import/BiffRecord.h"
#include "import/SharedStringTable.h"

namespace YExcel {

// A decoded number of an RK or MULRK cell: a whole number or one with a fraction.
struct RkNumber {
    bool isInteger = false;
    int32_t integer = 0;
    double value = 0.0;
};

// The RK packing of a number into 32 bits: bit 0 divides by 100, bit 1 marks an integer.
RkNumber DecodeRk(uint32_t rk);

// A formula with its cached result and the records that belong to it.
struct FormulaRecord {
    uint8_t result[8] = {};
    uint16_t options = 0;
    std::vector<uint8_t> tokens;
    bool hasStringResult = false;
    SharedString stringResult;

    // Unless bytes 6 and 7 are both 0xFF the result is a number.
    bool HasNumericResult() const { return !(result[6] == 0xFF && result[7] == 0xFF); }
    double NumericResult() const;
};

// One cell record of a row block, decoded.
struct CellBlock {
    uint16_t code = 0;
    uint16_t row = 0;
    uint16_t column = 0;
    uint16_t lastColumn = 0;  // MULRK, MULBLANK: the last column covered
    uint16_t format = 0;
    uint32_t stringIndex = 0;       // LABELSST
    std::vector<RkNumber> numbers;  // RK (one), MULRK (one per column)
    double number = 0.0;            // NUMBER
    uint8_t boolValue = 0;          // BOOLERR
    bool isError = false;
    SharedString text;  // LABEL, RSTRING
    std::shared_ptr<const FormulaRecord> formula;

    // Whether the record makes the grid larger; blank cells do not.
    bool CountsForSize() const { return code != RecordCode::Blank && code != RecordCode::MulBlank; }
    uint16_t HighestColumn() const { return code == RecordCode::MulRK ? lastColumn : column; }
};

bool IsCellRecord(uint16_t code);

// Decodes a cell record; false when the record is too short for what it claims.
bool DecodeCell(const Record& record, CellBlock& cell);

}  // namespace YExcel
