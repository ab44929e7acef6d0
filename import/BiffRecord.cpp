#include "BiffRecord.h"

namespace YExcel {
namespace {

constexpr std::size_t HeaderSize = 4;

bool ReadHeader(const std::vector<uint8_t>& stream, std::size_t position, uint16_t& code,
                uint16_t& length) {
    const ByteView view(stream.data(), stream.size());
    return view.U16(position, code) && view.U16(position + 2, length) &&
           view.Has(position + HeaderSize, length);
}

}  // namespace

bool PeekCode(const std::vector<uint8_t>& stream, std::size_t position, uint16_t& code) {
    return ByteView(stream.data(), stream.size()).U16(position, code);
}

bool Record::ReadFrom(const std::vector<uint8_t>& stream, std::size_t position) {
    payload.clear();
    continuations.clear();
    uint16_t length = 0;
    if (!ReadHeader(stream, position, code, length)) {
        return false;
    }
    const auto firstPayload = stream.begin() + static_cast<std::ptrdiff_t>(position + HeaderSize);
    payload.assign(firstPayload, firstPayload + length);
    std::size_t next = position + HeaderSize + length;

    uint16_t nextCode = 0;
    uint16_t nextLength = 0;
    while (ReadHeader(stream, next, nextCode, nextLength) && nextCode == RecordCode::Continue) {
        continuations.push_back(payload.size());
        const auto piece = stream.begin() + static_cast<std::ptrdiff_t>(next + HeaderSize);
        payload.insert(payload.end(), piece, piece + nextLength);
        next += HeaderSize + nextLength;
    }
    totalLength = next - position;
    return true;
}

}  // namespace YExcel
