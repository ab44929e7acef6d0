#include "TextLimits.h"

#include <algorithm>
#include <string_view>

#include "support/TextHelpers.h"

namespace Kramo {
namespace {

// The beginning a cut note keeps; the rest of the limit goes to its newest end.
constexpr std::size_t NoteBeginningBytes = 80;
constexpr std::string_view CutMark = "…";

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The last bytes of the text, at most maximumBytes, starting at a character boundary.
std::string EndOf(const std::string& text, std::size_t maximumBytes) {
    std::size_t start = text.size() - std::min(text.size(), maximumBytes);
    while (start < text.size() && IsContinuationByte(text[start])) {
        ++start;
    }
    return text.substr(start);
}

bool Fit(std::string& text, std::size_t maximumBytes) {
    if (text.size() <= maximumBytes) {
        return false;
    }
    text = CutAtCharacter(text, maximumBytes);
    return true;
}

}  // namespace

std::string CutNote(const std::string& note) {
    if (note.size() <= MaxSellerNoteBytes) {
        return note;
    }
    const std::string beginning = CutAtCharacter(note, NoteBeginningBytes);
    const std::size_t endBytes = MaxSellerNoteBytes - beginning.size() - CutMark.size();
    return beginning + std::string(CutMark) + EndOf(note.substr(beginning.size()), endBytes);
}

bool FitTextsToLimits(Seller& seller) {
    const bool noteCut = seller.COMMENT.size() > MaxSellerNoteBytes;
    seller.COMMENT = CutNote(seller.COMMENT);
    const bool codeCut = Fit(seller.SHORT_CODE, MaxSellerCodeBytes);
    return Fit(seller.NAME, MaxSellerNameBytes) || codeCut || noteCut;
}

bool FitTextsToLimits(Item& item) {
    return Fit(item.NAME, MaxItemNameBytes);
}

}  // namespace Kramo
