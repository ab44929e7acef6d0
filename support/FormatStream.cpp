#include "FormatStream.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace Kramo {
namespace {

constexpr const char* Flags = "-+ #0";
constexpr const char* LengthModifiers = "hlLqjzt";
constexpr const char* ConversionLetters = "diouxXeEfFgGaAcs";

template <typename Value>
std::string PrintOne(const std::string& spec, Value value) {
    const int length = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (length <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), spec.c_str(), value);
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

bool IsOneOf(char c, const char* set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

bool IsFloatingLetter(char letter) {
    return IsOneOf(letter, "eEfFgGaA");
}

bool IsUnsignedLetter(char letter) {
    return IsOneOf(letter, "ouxX");
}

// Literal text with "%%" turned into "%"; stops at a single '%' (returned position) or the end.
std::string::size_type CopyLiteral(const std::string& format, std::string::size_type from,
                                   std::string& output) {
    while (from < format.size()) {
        if (format[from] != '%') {
            output += format[from++];
        } else if (from + 1 < format.size() && format[from + 1] == '%') {
            output += '%';
            from += 2;
        } else {
            return from;
        }
    }
    return from;
}

}  // namespace

bool FormatStream::NextConversion(Conversion& conversion) {
    while (true) {
        position_ = CopyLiteral(format_, position_, output_);
        if (position_ >= format_.size()) {
            return false;
        }
        std::string::size_type cursor = position_ + 1;
        const auto modifiersStart = cursor;
        while (cursor < format_.size() && IsOneOf(format_[cursor], Flags))
            ++cursor;
        while (cursor < format_.size() && std::isdigit(static_cast<unsigned char>(format_[cursor])))
            ++cursor;
        if (cursor < format_.size() && format_[cursor] == '.') {
            ++cursor;
            while (cursor < format_.size() &&
                   std::isdigit(static_cast<unsigned char>(format_[cursor])))
                ++cursor;
        }
        conversion.modifiers = format_.substr(modifiersStart, cursor - modifiersStart);
        while (cursor < format_.size() && IsOneOf(format_[cursor], LengthModifiers))
            ++cursor;
        if (cursor < format_.size() && IsOneOf(format_[cursor], ConversionLetters)) {
            conversion.letter = format_[cursor];
            position_ = cursor + 1;
            return true;
        }
        // Not a conversion printf knows: keep it as literal text.
        output_.append(format_, position_, cursor - position_);
        position_ = cursor;
    }
}

FormatStream& FormatStream::operator<<(const std::string& value) {
    Conversion conversion;
    if (!NextConversion(conversion)) {
        return *this;
    }
    // A plain "%s" takes the text whole: a NUL byte inside it would end printf's copy and drop
    // the rest, for instance of a settings value written back to its file.
    if (conversion.modifiers.empty() && conversion.letter == 's') {
        output_ += value;
    } else {
        output_ += PrintOne("%" + conversion.modifiers + "s", value.c_str());
    }
    return *this;
}

FormatStream& FormatStream::operator<<(char value) {
    return AppendInteger(value, static_cast<unsigned char>(value), std::string(1, value));
}

FormatStream& FormatStream::AppendInteger(long long value, unsigned long long unsignedValue,
                                          const std::string& asText) {
    Conversion conversion;
    if (!NextConversion(conversion)) {
        return *this;
    }
    const std::string& modifiers = conversion.modifiers;
    if (IsFloatingLetter(conversion.letter)) {
        output_ += PrintOne("%" + modifiers + conversion.letter, static_cast<double>(value));
    } else if (conversion.letter == 'c') {
        output_ += PrintOne("%" + modifiers + "c", static_cast<int>(value));
    } else if (conversion.letter == 's') {
        output_ += PrintOne("%" + modifiers + "s", asText.c_str());
    } else if (IsUnsignedLetter(conversion.letter)) {
        output_ += PrintOne("%" + modifiers + "ll" + conversion.letter, unsignedValue);
    } else {
        output_ += PrintOne("%" + modifiers + "ll" + conversion.letter, value);
    }
    return *this;
}

FormatStream& FormatStream::operator<<(double value) {
    Conversion conversion;
    if (!NextConversion(conversion)) {
        return *this;
    }
    const char letter = IsFloatingLetter(conversion.letter) ? conversion.letter : 'g';
    output_ += PrintOne("%" + conversion.modifiers + letter, value);
    return *this;
}

std::string FormatStream::str() const {
    std::string text = output_;
    // A conversion left without an argument is kept as written.
    auto rest = CopyLiteral(format_, position_, text);
    while (rest < format_.size()) {
        text += format_[rest];
        rest = CopyLiteral(format_, rest + 1, text);
    }
    return text;
}

}  // namespace Kramo
