#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/BiffRecord.h"
#include "import/Workbook.h"
#include "import/Worksheet.h"

namespace YExcel {

// Walks a workbook stream: the globals, then each worksheet's cell records. Never reads
// outside the stream; a damaged stream ends the walk with what was read whole before, and
// the damage is described, also in the part (globals or worksheet) where it was met, so that
// the worksheets read whole before it can still be used.
class WorkbookParser {
  public:
    explicit WorkbookParser(const std::vector<uint8_t>& stream) : stream_(stream) {}

    void Parse(Workbook& workbook, std::vector<Worksheet>& worksheets);
    // Empty unless the stream was damaged.
    const std::string& Damage() const { return damage_; }

  private:
    enum class BlockEnd { Closed, WorksheetEnded, StreamEnded };

    bool NextIs(uint16_t code) const;
    // Reads the record at the position and moves past it; false at the end or on damage.
    bool Next(Record& record);
    void ParseGlobals(Workbook& workbook);
    void ParseWorksheet(Worksheet& worksheet);
    BlockEnd ParseRowBlock(Worksheet& worksheet);
    void ReadCell(const Record& record, Worksheet& worksheet);
    void ReadFormulaFollowers(CellBlock& cell);
    void NoteDamage(const std::string& damage);

    const std::vector<uint8_t>& stream_;
    std::size_t position_ = 0;
    std::string damage_;
    std::string* partDamage_ = nullptr;  // of the part being walked
};

}  // namespace YExcel
