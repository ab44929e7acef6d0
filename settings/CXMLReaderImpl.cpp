#include "settings/CXMLReaderImpl.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <stdexcept>

#include "settings/XmlEntities.h"

namespace irr {
namespace io {
namespace {

using Bytes = std::vector<char>;
using Position = Bytes::const_iterator;

const std::string EmptyText;

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool HasMark(const Bytes& input, std::initializer_list<unsigned char> mark) {
    return input.size() >= mark.size() &&
           std::equal(mark.begin(), mark.end(), input.begin(),
                      [](unsigned char m, char c) { return m == static_cast<unsigned char>(c); });
}

void AppendUtf8(Bytes& output, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        c = 0xFFFD;
    }
    if (c < 0x80) {
        output.push_back(static_cast<char>(c));
        return;
    }
    const int tailCount = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    static const unsigned char leadMarks[] = {0, 0xC0, 0xE0, 0xF0};
    output.push_back(static_cast<char>(leadMarks[tailCount] | (c >> (6 * tailCount))));
    for (int shift = 6 * (tailCount - 1); shift >= 0; shift -= 6) {
        output.push_back(static_cast<char>(0x80 | ((c >> shift) & 0x3F)));
    }
}

struct WideLayout {
    std::size_t markSize;
    std::size_t unitSize;
    bool bigEndian;
};

char32_t UnitAt(const Bytes& input, std::size_t offset, const WideLayout& layout) {
    char32_t value = 0;
    for (std::size_t k = 0; k < layout.unitSize; ++k) {
        const std::size_t byte = layout.bigEndian ? offset + k : offset + layout.unitSize - 1 - k;
        value = (value << 8) | static_cast<unsigned char>(input[byte]);
    }
    return value;
}

// 16- and 32-bit text to UTF-8, the encoding of every other text of the program. A unit cut
// off by the end of the input is dropped; broken surrogates become U+FFFD.
Bytes WideToUtf8(const Bytes& input, const WideLayout& layout) {
    Bytes output;
    const std::size_t unitCount = (input.size() - layout.markSize) / layout.unitSize;
    const auto unit = [&](std::size_t u) {
        return UnitAt(input, layout.markSize + u * layout.unitSize, layout);
    };
    for (std::size_t u = 0; u < unitCount; ++u) {
        char32_t c = unit(u);
        if (layout.unitSize == 2 && c >= 0xD800 && c <= 0xDBFF && u + 1 < unitCount) {
            const char32_t low = unit(u + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++u;
            }
        }
        AppendUtf8(output, c);
    }
    return output;
}

Bytes DecodeInput(const Bytes& input) {
    if (HasMark(input, {0x00, 0x00, 0xFE, 0xFF})) {
        return WideToUtf8(input, {4, 4, true});
    }
    if (HasMark(input, {0xFF, 0xFE, 0x00, 0x00})) {
        return WideToUtf8(input, {4, 4, false});
    }
    if (HasMark(input, {0xFE, 0xFF})) {
        return WideToUtf8(input, {2, 2, true});
    }
    if (HasMark(input, {0xFF, 0xFE})) {
        return WideToUtf8(input, {2, 2, false});
    }
    const std::ptrdiff_t utf8Mark = HasMark(input, {0xEF, 0xBB, 0xBF}) ? 3 : 0;
    return Bytes(input.begin() + utf8Mark, input.end());
}

bool StartsWith(Position begin, Position end, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    return static_cast<std::size_t>(end - begin) >= length &&
           std::equal(prefix, prefix + length, begin);
}

// The predefined entity written at begin, or none.
const Kramo::XmlEntity* EntityAt(Position begin, Position end) {
    if (*begin != '&') {
        return nullptr;
    }
    for (const Kramo::XmlEntity& entity : Kramo::XmlEntities) {
        if (StartsWith(begin, end, entity.text)) {
            return &entity;
        }
    }
    return nullptr;
}

std::string ReplaceEntities(Position begin, Position end) {
    std::string result;
    result.reserve(static_cast<std::size_t>(end - begin));
    while (begin != end) {
        if (const Kramo::XmlEntity* entity = EntityAt(begin, end)) {
            result += entity->character;
            begin += static_cast<std::ptrdiff_t>(std::strlen(entity->text));
        } else {
            result += *begin++;
        }
    }
    return result;
}

// Whitespace of one or two characters between tags is layout, not content.
bool IsTextNode(Position begin, Position end) {
    return end - begin >= 3 || std::find_if_not(begin, end, IsWhitespace) != end;
}

}  // namespace

CXMLReaderImpl::CXMLReaderImpl(IFileReadCallBack& input) {
    const std::size_t size = input.GetSize();
    if (size > MaximumInputSize) {
        throw std::length_error("CXMLReaderImpl: input larger than the reader accepts");
    }
    Bytes raw(size);
    raw.resize(input.Read(raw.data(), raw.size()));
    text_ = DecodeInput(raw);
    // Exactly as large as the text, so that the sanitizers see any read past its end.
    text_.shrink_to_fit();
    position_ = text_.cbegin();
}

bool CXMLReaderImpl::Read() {
    if (position_ == text_.cend()) {
        return false;
    }
    attributes_.clear();
    isEmptyElement_ = false;
    const Position tagStart = std::find(position_, text_.cend(), '<');
    if (tagStart == text_.cend()) {
        SetNode(EXN_UNKNOWN, std::string());
        position_ = text_.cend();
    } else if (tagStart != position_ && IsTextNode(position_, tagStart)) {
        SetNode(EXN_TEXT, ReplaceEntities(position_, tagStart));
        position_ = tagStart;
    } else {
        position_ = tagStart + 1;
        ParseTag();
    }
    return true;
}

const std::string& CXMLReaderImpl::GetAttributeName(std::size_t index) const {
    return index < attributes_.size() ? attributes_[index].name : EmptyText;
}

const std::string& CXMLReaderImpl::GetAttributeValue(std::size_t index) const {
    return index < attributes_.size() ? attributes_[index].value : EmptyText;
}

void CXMLReaderImpl::SetNode(EXML_NODE type, std::string text) {
    nodeType_ = type;
    nodeText_ = std::move(text);
}

void CXMLReaderImpl::SkipPast(char c) {
    position_ = std::find(position_, text_.cend(), c);
    if (position_ != text_.cend()) {
        ++position_;
    }
}

void CXMLReaderImpl::ParseTag() {
    const Position next = position_ == text_.cend() ? position_ : position_ + 1;
    const char first = position_ == text_.cend() ? '\0' : *position_;
    if (first == '!' && next != text_.cend() && *next == '[') {
        ParseCData();
    } else if (first == '!') {
        ParseComment();
    } else if (first == '/') {
        ParseElementEnd();
    } else if (first == '?') {
        SkipProcessingInstruction();
    } else {
        ParseElementStart();
    }
}

void CXMLReaderImpl::ParseElementStart() {
    const Position nameEnd =
        std::find_if(position_, text_.cend(), [](char c) { return IsWhitespace(c) || c == '>'; });
    std::string name(position_, nameEnd);
    position_ = nameEnd;
    while (ParseAttribute()) {
    }
    if (!name.empty() && name.back() == '/') {
        name.pop_back();
        isEmptyElement_ = true;
    }
    SetNode(EXN_ELEMENT, std::move(name));
}

bool CXMLReaderImpl::ParseAttribute() {
    position_ = std::find_if_not(position_, text_.cend(), IsWhitespace);
    if (position_ == text_.cend()) {
        return false;
    }
    if (*position_ == '/') {
        isEmptyElement_ = true;
    }
    if (*position_ == '>' || *position_ == '/') {
        SkipPast('>');
        return false;
    }
    const Position nameEnd = std::find_if(
        position_, text_.cend(), [](char c) { return IsWhitespace(c) || c == '=' || c == '>'; });
    // Only '=' and blanks may stand before the value's quote: a quote further on belongs to
    // another attribute or to markup after this tag.
    const Position open =
        std::find_if_not(nameEnd, text_.cend(), [](char c) { return IsWhitespace(c) || c == '='; });
    if (open == text_.cend() || !IsQuote(*open)) {
        position_ = open;
        SkipPast('>');
        return false;
    }
    const Position close = std::find(open + 1, text_.cend(), *open);
    if (close == text_.cend()) {
        position_ = open + 1;
        return false;
    }
    attributes_.push_back({std::string(position_, nameEnd), ReplaceEntities(open + 1, close)});
    position_ = close + 1;
    return true;
}

void CXMLReaderImpl::ParseElementEnd() {
    ++position_;
    const Position close = std::find(position_, text_.cend(), '>');
    SetNode(EXN_ELEMENT_END, std::string(position_, close));
    position_ = close;
    SkipPast('>');
}

// A comment may hold markup of its own, so its end is the '>' that balances its '<'.
void CXMLReaderImpl::ParseComment() {
    const Position start = position_;
    int depth = 1;
    for (; position_ != text_.cend(); ++position_) {
        depth += *position_ == '<' ? 1 : *position_ == '>' ? -1 : 0;
        if (depth == 0) {
            break;
        }
    }
    SetNode(EXN_COMMENT, std::string(start, position_));
    SkipPast('>');
}

void CXMLReaderImpl::ParseCData() {
    position_ += 2;
    if (StartsWith(position_, text_.cend(), "CDATA[")) {
        position_ += 6;
    }
    static const char closing[] = "]]>";
    const Position close = std::search(position_, text_.cend(), closing, closing + 3);
    SetNode(EXN_CDATA, std::string(position_, close));
    position_ = close == text_.cend() ? close : close + 3;
}

void CXMLReaderImpl::SkipProcessingInstruction() {
    SetNode(EXN_UNKNOWN, std::string());
    SkipPast('>');
}

}  // namespace io
}  // namespace irr
