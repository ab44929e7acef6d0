#include "TextHelpers.h"

#include <locale.h>
#include <clocale>
#include <cstdlib>

#include "Log.h"

namespace Kramo {
namespace {

// strtod follows LC_NUMERIC, which the toolkit may switch to a decimal comma; numbers here
// always use the point.
locale_t NumericCLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool ParseNumber(const std::string& text, double& value) {
    std::string pointText = text;
    DecimalCommaToPoint(pointText);
    char* end = nullptr;
    const double parsed = strtod_l(pointText.c_str(), &end, NumericCLocale());
    if (end == pointText.c_str()) {
        LogMessage(LogError, "Could not convert text %s to number.", text.c_str());
        return false;
    }
    value = parsed;
    return true;
}

bool IsNumberText(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    std::string::size_type position = text[0] == '-' ? 1 : 0;
    int points = 0;
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c == '.') {
            if (++points > 1) {
                return false;
            }
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int DecimalCommaToPoint(std::string& text) {
    int replaced = 0;
    for (char& c : text) {
        if (c == ',') {
            c = '.';
            ++replaced;
        }
    }
    return replaced;
}

std::vector<std::string> SplitText(const std::string& text, const std::string& delimiters) {
    std::vector<std::string> tokens;
    std::string::size_type start = text.find_first_not_of(delimiters);
    while (start != std::string::npos) {
        const std::string::size_type end = text.find_first_of(delimiters, start);
        tokens.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        start = text.find_first_not_of(delimiters, end);
    }
    return tokens;
}

void ToUpperText(std::string& text) {
    for (char& c : text)
        c = AsciiUpper(c);
}

void ToLowerText(std::string& text) {
    for (char& c : text)
        c = AsciiLower(c);
}

bool EqualIgnoringCase(const std::string& left, const std::string& right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::string::size_type i = 0; i < left.size(); ++i) {
        if (AsciiLower(left[i]) != AsciiLower(right[i])) {
            return false;
        }
    }
    return true;
}

std::string CutAtCharacter(const std::string& text, std::size_t maximumBytes) {
    if (text.size() <= maximumBytes) {
        return text;
    }
    std::size_t length = maximumBytes;
    // Continuation bytes (10xxxxxx) belong to the character before them.
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return text.substr(0, length);
}

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return count;
}

namespace {

// The lead bytes of the characters longer than one byte, with the lowest code point each may
// carry (anything lower is an overlong form).
struct MultiByteLead {
    unsigned char mask;
    unsigned char value;
    std::size_t length;
    char32_t lowest;
};
constexpr MultiByteLead MultiByteLeads[] = {
    {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};

// The length of the well-formed UTF-8 character at the position; 0 when there is none.
std::size_t WellFormedCharacterLength(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return 1;
    }
    for (const MultiByteLead& kind : MultiByteLeads) {
        if ((lead & kind.mask) != kind.value) {
            continue;
        }
        if (at + kind.length > text.size()) {
            return 0;
        }
        char32_t codePoint = lead & static_cast<unsigned char>(~kind.mask);
        for (std::size_t next = 1; next < kind.length; ++next) {
            const auto byte = static_cast<unsigned char>(text[at + next]);
            if ((byte & 0xC0) != 0x80) {
                return 0;
            }
            codePoint = (codePoint << 6) | (byte & 0x3F);
        }
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        return codePoint < kind.lowest || surrogate || codePoint > 0x10FFFF ? 0 : kind.length;
    }
    return 0;
}

}  // namespace

std::string WellFormedUtf8(const std::string& text) {
    std::string wellFormed;
    wellFormed.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = WellFormedCharacterLength(text, at);
        if (length == 0) {
            wellFormed += '?';
            ++at;
        } else {
            wellFormed.append(text, at, length);
            at += length;
        }
    }
    return wellFormed;
}

}  // namespace Kramo
