#include "BiffBuilder.h"

namespace KramoTest {

BiffBuilder& BiffBuilder::Record(uint16_t code, const std::vector<uint8_t>& payload) {
    const std::vector<uint8_t> header =
        Join({U16(code), U16(static_cast<uint16_t>(payload.size()))});
    stream_.insert(stream_.end(), header.begin(), header.end());
    stream_.insert(stream_.end(), payload.begin(), payload.end());
    return *this;
}

BiffBuilder& BiffBuilder::Bof(uint16_t substream) {
    return Record(0x0809, Join({U16(0x0600), U16(substream), U32(0), U32(0), U32(0)}));
}

BiffBuilder& BiffBuilder::Eof() {
    return Record(0x000A, {});
}

BiffBuilder& BiffBuilder::Row(uint16_t row) {
    return Record(0x0208, Join({U16(row), U16(0), U16(10), U16(255), U32(0), U32(0)}));
}

BiffBuilder& BiffBuilder::DbCell() {
    return Record(0x00D7, U32(0));
}

BiffBuilder& BiffBuilder::Truncated(uint16_t code, uint16_t claimedLength) {
    const std::vector<uint8_t> header = Join({U16(code), U16(claimedLength), {1, 2, 3}});
    stream_.insert(stream_.end(), header.begin(), header.end());
    return *this;
}

std::vector<uint8_t> BiffBuilder::U16(uint16_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
}

std::vector<uint8_t> BiffBuilder::U32(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

std::vector<uint8_t> BiffBuilder::Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> joined;
    for (const std::vector<uint8_t>& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

std::vector<uint8_t> BiffBuilder::NarrowString(const std::string& latin1) {
    std::vector<uint8_t> bytes = Join({U16(static_cast<uint16_t>(latin1.size())), {0x00}});
    bytes.insert(bytes.end(), latin1.begin(), latin1.end());
    return bytes;
}

std::vector<uint8_t> BiffBuilder::WideString(const std::u16string& text) {
    std::vector<uint8_t> bytes = Join({U16(static_cast<uint16_t>(text.size())), {0x01}});
    for (const char16_t unit : text) {
        const std::vector<uint8_t> pair = U16(unit);
        bytes.insert(bytes.end(), pair.begin(), pair.end());
    }
    return bytes;
}

std::vector<uint8_t> BiffBuilder::CellHeader(uint16_t row, uint16_t column) {
    return Join({U16(row), U16(column), U16(0)});
}

}  // namespace KramoTest
