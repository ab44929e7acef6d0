#include "SharedStringTable.h"

#include <algorithm>

namespace YExcel {
namespace {

constexpr uint8_t WideCharacters = 0x01;
constexpr uint8_t PhoneticBlock = 0x04;
constexpr uint8_t RichText = 0x08;

// Where the piece holding the offset ends: the next continuation, or the payload's end.
std::size_t PieceEnd(const Record& record, std::size_t offset) {
    const auto next =
        std::upper_bound(record.continuations.begin(), record.continuations.end(), offset);
    return next == record.continuations.end() ? record.payload.size() : *next;
}

bool StartsPiece(const Record& record, std::size_t offset) {
    return std::binary_search(record.continuations.begin(), record.continuations.end(), offset);
}

// Appends up to `wanted` characters of one width from the current piece.
std::size_t AppendCharacters(const ByteView& view, std::size_t& offset, std::size_t pieceEnd,
                             bool wide, std::size_t wanted, std::u16string& characters) {
    const std::size_t width = wide ? 2 : 1;
    const std::size_t fitting = std::min(wanted, (pieceEnd - offset) / width);
    for (std::size_t i = 0; i < fitting; ++i) {
        if (wide) {
            uint16_t unit = 0;
            view.U16(offset, unit);
            characters.push_back(static_cast<char16_t>(unit));
        } else {
            uint8_t byte = 0;
            view.U8(offset, byte);
            characters.push_back(static_cast<char16_t>(byte));
        }
        offset += width;
    }
    return fitting;
}

}  // namespace

bool ReadUnicodeString(const Record& record, std::size_t& offset, SharedString& string) {
    const ByteView view = record.View();
    uint16_t count = 0;
    uint8_t options = 0;
    if (!view.U16(offset, count) || !view.U8(offset + 2, options)) {
        return false;
    }
    offset += 3;
    uint16_t runs = 0;
    uint32_t phoneticSize = 0;
    if ((options & RichText) != 0) {
        if (!view.U16(offset, runs)) {
            return false;
        }
        offset += 2;
    }
    if ((options & PhoneticBlock) != 0) {
        if (!view.U32(offset, phoneticSize)) {
            return false;
        }
        offset += 4;
    }

    string.is16Bit = (options & WideCharacters) != 0;
    string.characters.clear();
    bool wide = string.is16Bit;
    std::size_t remaining = count;
    while (remaining > 0) {
        remaining -= AppendCharacters(view, offset, PieceEnd(record, offset), wide, remaining,
                                      string.characters);
        if (remaining == 0) {
            break;
        }
        // The characters go on in the next piece, which starts with an option byte of its own.
        uint8_t pieceOptions = 0;
        if (!StartsPiece(record, offset) || !view.U8(offset, pieceOptions)) {
            return false;
        }
        wide = (pieceOptions & WideCharacters) != 0;
        ++offset;
    }
    const std::size_t extra = 4u * runs + phoneticSize;
    if (!view.Has(offset, extra)) {
        return false;
    }
    offset += extra;
    return true;
}

bool SharedStringTable::Read(const Record& record) {
    strings_.clear();
    const ByteView view = record.View();
    uint32_t uniqueCount = 0;
    if (!view.U32(4, uniqueCount)) {
        return false;
    }
    std::size_t offset = 8;
    for (uint32_t index = 0; index < uniqueCount; ++index) {
        SharedString string;
        if (!ReadUnicodeString(record, offset, string)) {
            return false;
        }
        strings_.push_back(std::move(string));
    }
    return true;
}

}  // namespace YExcel
