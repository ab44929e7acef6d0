#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KramoTest {

// Assembles workbook streams record by record, for the cases no spreadsheet writer at hand
// produces: mixed-width string pieces, old text records, damaged records.
class BiffBuilder {
  public:
    BiffBuilder& Record(uint16_t code, const std::vector<uint8_t>& payload);
    BiffBuilder& Bof(uint16_t substream);
    BiffBuilder& Eof();
    BiffBuilder& Row(uint16_t row);
    BiffBuilder& DbCell();
    // A record header claiming more payload than follows.
    BiffBuilder& Truncated(uint16_t code, uint16_t claimedLength);

    const std::vector<uint8_t>& Stream() const { return stream_; }

    static std::vector<uint8_t> U16(uint16_t value);
    static std::vector<uint8_t> U32(uint32_t value);
    static std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts);
    // Character count, option byte (8-bit), the characters.
    static std::vector<uint8_t> NarrowString(const std::string& latin1);
    static std::vector<uint8_t> WideString(const std::u16string& text);
    // row, column, format 0
    static std::vector<uint8_t> CellHeader(uint16_t row, uint16_t column);

  private:
    std::vector<uint8_t> stream_;
};

}  // namespace KramoTest
