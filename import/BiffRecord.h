#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "import/ByteView.h"

namespace YExcel {

// Record codes the reader knows.
namespace RecordCode {
constexpr uint16_t Formula = 0x0006;
constexpr uint16_t YEOF = 0x000A;
constexpr uint16_t Continue = 0x003C;
constexpr uint16_t Table = 0x0036;
constexpr uint16_t BoundSheet = 0x0085;
constexpr uint16_t MulRK = 0x00BD;
constexpr uint16_t MulBlank = 0x00BE;
constexpr uint16_t ShrFmla = 0x00BC;
constexpr uint16_t RString = 0x00D6;
constexpr uint16_t DBCell = 0x00D7;
constexpr uint16_t SharedStringTable = 0x00FC;
constexpr uint16_t LabelSST = 0x00FD;
constexpr uint16_t Dimensions = 0x0200;
constexpr uint16_t Blank = 0x0201;
constexpr uint16_t Number = 0x0203;
constexpr uint16_t Label = 0x0204;
constexpr uint16_t BoolErr = 0x0205;
constexpr uint16_t String = 0x0207;
constexpr uint16_t Row = 0x0208;
constexpr uint16_t Index = 0x020B;
constexpr uint16_t Array = 0x0221;
constexpr uint16_t RK = 0x027E;
constexpr uint16_t ShrFmla1 = 0x04BC;
constexpr uint16_t BOF = 0x0809;
}  // namespace RecordCode

// One record of a workbook stream with the payloads of the CONTINUE records that follow it
// joined to its own.
struct Record {
    uint16_t code = 0;
    std::vector<uint8_t> payload;
    // Where in the joined payload each CONTINUE's piece begins.
    std::vector<std::size_t> continuations;
    // Bytes the record takes in the stream, headers of every piece included.
    std::size_t totalLength = 0;

    ByteView View() const { return ByteView(payload.data(), payload.size()); }

    // Reads the record at the position. False when no whole record stands there: the stream
    // ends, or a stated length runs past its end.
    bool ReadFrom(const std::vector<uint8_t>& stream, std::size_t position);
};

// The code of the record at the position, or false at the end of the stream.
bool PeekCode(const std::vector<uint8_t>& stream, std::size_t position, uint16_t& code);

}  // namespace YExcel
