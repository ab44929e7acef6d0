#include "CellRecord.h"

#include <cstring>

namespace YExcel {
namespace {

constexpr std::size_t MulEntrySize = 6;  // format index u16 and RK value u32

bool DecodeMulRk(const ByteView& view, CellBlock& cell) {
    // row, first column, the entries, last column
    if (view.Size() < 4 + MulEntrySize + 2 || (view.Size() - 6) % MulEntrySize != 0 ||
        !view.U16(view.Size() - 2, cell.lastColumn)) {
        return false;
    }
    const std::size_t entries = (view.Size() - 6) / MulEntrySize;
    if (cell.lastColumn < cell.column || cell.lastColumn - cell.column + 1u != entries) {
        return false;
    }
    for (std::size_t i = 0; i < entries; ++i) {
        uint32_t rk = 0;
        view.U32(4 + i * MulEntrySize + 2, rk);
        cell.numbers.push_back(DecodeRk(rk));
    }
    view.U16(4, cell.format);
    return true;
}

bool DecodeMulBlank(const ByteView& view, CellBlock& cell) {
    return view.Size() >= 8 && view.U16(view.Size() - 2, cell.lastColumn) &&
           cell.lastColumn >= cell.column;
}

bool DecodeFormula(const ByteView& view, const Record& record, CellBlock& cell) {
    auto formula = std::make_shared<FormulaRecord>();
    if (!view.Has(6, 8) || !view.U16(14, formula->options)) {
        return false;
    }
    std::memcpy(formula->result, record.payload.data() + 6, sizeof formula->result);
    if (record.payload.size() > 20) {
        formula->tokens.assign(record.payload.begin() + 20, record.payload.end());
    }
    cell.formula = std::move(formula);
    return true;
}

// LABEL and RSTRING hold their string at offset 6; formatting runs after it are ignored.
bool DecodeLabel(const Record& record, CellBlock& cell) {
    std::size_t offset = 6;
    return ReadUnicodeString(record, offset, cell.text);
}

}  // namespace

RkNumber DecodeRk(uint32_t rk) {
    const bool dividedBy100 = (rk & 0x01) != 0;
    RkNumber number;
    if ((rk & 0x02) != 0) {
        // A signed 30-bit integer in the upper bits.
        const int32_t integer = static_cast<int32_t>(rk) >> 2;
        if (!dividedBy100) {
            number.isInteger = true;
            number.integer = integer;
        } else if (integer % 100 == 0) {
            number.isInteger = true;
            number.integer = integer / 100;
        } else {
            number.value = integer / 100.0;
        }
        if (number.isInteger) {
            number.value = number.integer;  // the double getter reads whole numbers too
        }
        return number;
    }
    // The upper 30 bits of an IEEE double whose lower 34 bits are zero.
    const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&number.value, &bits, sizeof number.value);
    if (dividedBy100) {
        number.value /= 100.0;
    }
    return number;
}

double FormulaRecord::NumericResult() const {
    double value = 0.0;
    ByteView(result, sizeof result).Double(0, value);
    return value;
}

bool IsCellRecord(uint16_t code) {
    switch (code) {
        case RecordCode::Formula:
        case RecordCode::MulRK:
        case RecordCode::MulBlank:
        case RecordCode::LabelSST:
        case RecordCode::Blank:
        case RecordCode::Number:
        case RecordCode::BoolErr:
        case RecordCode::RK:
        case RecordCode::Label:
        case RecordCode::RString:
            return true;
        default:
            return false;
    }
}

bool DecodeCell(const Record& record, CellBlock& cell) {
    const ByteView view = record.View();
    cell.code = record.code;
    if (!view.U16(0, cell.row) || !view.U16(2, cell.column)) {
        return false;
    }
    cell.lastColumn = cell.column;
    switch (record.code) {
        case RecordCode::MulRK:
            return DecodeMulRk(view, cell);
        case RecordCode::MulBlank:
            return DecodeMulBlank(view, cell);
        default:
            break;
    }
    if (!view.U16(4, cell.format)) {
        return false;
    }
    switch (record.code) {
        case RecordCode::LabelSST:
            return view.U32(6, cell.stringIndex);
        case RecordCode::RK: {
            uint32_t rk = 0;
            if (!view.U32(6, rk))
                return false;
            cell.numbers.push_back(DecodeRk(rk));
            return true;
        }
        case RecordCode::Number:
            return view.Double(6, cell.number);
        case RecordCode::BoolErr: {
            uint8_t errorFlag = 0;
            if (!view.U8(6, cell.boolValue) || !view.U8(7, errorFlag))
                return false;
            cell.isError = errorFlag != 0;
            return true;
        }
        case RecordCode::Formula:
            return DecodeFormula(view, record, cell);
        case RecordCode::Label:
        case RecordCode::RString:
            return DecodeLabel(record, cell);
        default:  // BLANK
            return true;
    }
}

}  // namespace YExcel
