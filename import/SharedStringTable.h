#pragma once

#include <string>
#include <vector>

#include "import/BiffRecord.h"

namespace YExcel {

// One string of the workbook's shared string table.
struct SharedString {
    // The width its first piece was stored in; decides the cell's kind.
    bool is16Bit = false;
    // The characters exactly as stored: 8-bit pieces are ISO 8859-1, which BIFF8 keeps as
    // UTF-16 units with their high byte dropped, so widening them loses nothing.
    std::u16string characters;
};

// The strings of an SST record, numbered from 0.
class SharedStringTable {
  public:
    // Reads as many strings as stand whole in the record; false when the record is damaged
    // (the strings before the damage are kept).
    bool Read(const Record& record);

    const std::vector<SharedString>& Strings() const { return strings_; }
    bool Has(uint32_t index) const { return index < strings_.size(); }
    const SharedString& At(uint32_t index) const { return strings_.at(index); }

  private:
    std::vector<SharedString> strings_;
};

// Reads one unicode string (character count, option byte, characters) whose characters may
// run on into the following CONTINUE pieces. Moves the offset past the string's extra data
// too; false when the string runs past the record.
bool ReadUnicodeString(const Record& record, std::size_t& offset, SharedString& string);

}  // namespace YExcel
