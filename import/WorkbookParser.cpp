#include "WorkbookParser.h"

#include "support/FormatText.h"

namespace YExcel {
namespace {

constexpr uint16_t GlobalsSubstream = 0x0005;
constexpr uint16_t WorksheetSubstream = 0x0010;

bool IsFormulaCompanion(uint16_t code) {
    return code == RecordCode::Array || code == RecordCode::ShrFmla ||
           code == RecordCode::ShrFmla1 || code == RecordCode::Table;
}

std::size_t CellsCovered(const CellBlock& cell) {
    if (cell.code == RecordCode::MulRK) {
        return cell.numbers.size();
    }
    if (cell.code == RecordCode::MulBlank && cell.lastColumn >= cell.column) {
        return std::size_t{1} + cell.lastColumn - cell.column;
    }
    return 1;
}

std::string SheetName(const Record& record) {
    // visibility and type bytes stand before the short name
    const ByteView view = record.View();
    uint8_t length = 0;
    uint8_t options = 0;
    if (!view.U8(6, length) || !view.U8(7, options)) {
        return {};
    }
    const std::size_t width = (options & 0x01) != 0 ? 2 : 1;
    if (!view.Has(8, length * width)) {
        return {};
    }
    std::string name;
    for (std::size_t i = 0; i < length; ++i) {
        name.push_back(static_cast<char>(record.payload[8 + i * width]));
    }
    return name;
}

}  // namespace

bool WorkbookParser::NextIs(uint16_t code) const {
    uint16_t next = 0;
    return PeekCode(stream_, position_, next) && next == code;
}

bool WorkbookParser::Next(Record& record) {
    if (position_ >= stream_.size()) {
        return false;
    }
    if (!record.ReadFrom(stream_, position_)) {
        NoteDamage(
            Kramo::FormatText("a record at byte %zu runs past the end of the workbook", position_));
        position_ = stream_.size();
        return false;
    }
    position_ += record.totalLength;
    return true;
}

void WorkbookParser::NoteDamage(const std::string& damage) {
    if (damage_.empty()) {
        damage_ = damage;
    }
    if (partDamage_ != nullptr && partDamage_->empty()) {
        *partDamage_ = damage;
    }
}

void WorkbookParser::Parse(Workbook& workbook, std::vector<Worksheet>& worksheets) {
    position_ = 0;
    if (!NextIs(RecordCode::BOF)) {
        return;
    }
    Record bof;
    while (Next(bof)) {
        uint16_t substream = 0;
        bof.View().U16(2, substream);
        if (substream == GlobalsSubstream) {
            partDamage_ = &workbook.damage;
            ParseGlobals(workbook);
        } else if (substream == WorksheetSubstream) {
            worksheets.emplace_back();
            partDamage_ = &worksheets.back().damage;
            ParseWorksheet(worksheets.back());
        }
        partDamage_ = nullptr;
        // Any other substream (a chart, a macro sheet) ends the walk after its BOF.
        if (!NextIs(RecordCode::BOF)) {
            return;
        }
    }
}

void WorkbookParser::ParseGlobals(Workbook& workbook) {
    Record record;
    while (Next(record) && record.code != RecordCode::YEOF) {
        if (record.code == RecordCode::SharedStringTable && !workbook.sharedStrings.Read(record)) {
            NoteDamage("the shared string table is damaged");
        } else if (record.code == RecordCode::BoundSheet) {
            workbook.sheetNames.push_back(SheetName(record));
        }
    }
}

void WorkbookParser::ParseWorksheet(Worksheet& worksheet) {
    // Charts embedded in a sheet bring a BOF .. EOF of their own.
    int nestedSubstreams = 0;
    Record record;
    while (true) {
        while (NextIs(RecordCode::Row)) {
            const BlockEnd end = ParseRowBlock(worksheet);
            if (end != BlockEnd::Closed) {
                return;
            }
        }
        if (!Next(record)) {
            return;
        }
        if (record.code == RecordCode::BOF) {
            ++nestedSubstreams;
        } else if (record.code == RecordCode::YEOF && nestedSubstreams-- == 0) {
            return;
        }
        // Cell records outside a row block give no cells.
    }
}

WorkbookParser::BlockEnd WorkbookParser::ParseRowBlock(Worksheet& worksheet) {
    Record record;
    while (Next(record)) {
        if (record.code == RecordCode::DBCell) {
            return BlockEnd::Closed;
        }
        if (record.code == RecordCode::YEOF) {
            return BlockEnd::WorksheetEnded;
        }
        if (IsCellRecord(record.code)) {
            ReadCell(record, worksheet);
        }
    }
    return BlockEnd::StreamEnded;
}

void WorkbookParser::ReadCell(const Record& record, Worksheet& worksheet) {
    CellBlock cell;
    if (!DecodeCell(record, cell)) {
        NoteDamage(Kramo::FormatText("a cell record at byte %zu is damaged",
                                     position_ - record.totalLength));
        return;
    }
    if (cell.code == RecordCode::Formula) {
        ReadFormulaFollowers(cell);
    }
    worksheet.cellCount += CellsCovered(cell);
    if (worksheet.cellCount > Worksheet::MaxCells) {
        // Refused anyway: its cells need not take the memory any longer.
        worksheet.overfull = true;
        std::vector<CellBlock>().swap(worksheet.cells);
    }
    if (!worksheet.overfull) {
        worksheet.cells.push_back(std::move(cell));
    }
}

void WorkbookParser::ReadFormulaFollowers(CellBlock& cell) {
    Record record;
    uint16_t next = 0;
    if (PeekCode(stream_, position_, next) && IsFormulaCompanion(next)) {
        Next(record);
    }
    if (NextIs(RecordCode::String) && Next(record)) {
        auto formula = std::make_shared<FormulaRecord>(*cell.formula);
        std::size_t offset = 0;
        formula->hasStringResult = ReadUnicodeString(record, offset, formula->stringResult);
        cell.formula = std::move(formula);
    }
}

}  // namespace YExcel
