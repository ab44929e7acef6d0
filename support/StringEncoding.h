#pragma once

#include <string>
#include <vector>

namespace Kramo {

// Conversions at the edges where text is not UTF-8: ISO 8859-2 toward the PDF library,
// ISO 8859-2 and 16-bit text from seller sheets, and unaccented text for searching.
class StringEncoding {
  public:
    static constexpr std::size_t ConversionLimit = 1024;  // bytes in and bytes out
    static constexpr const char* Utf8Name = "UTF-8";
    static constexpr const char* Latin2Name = "ISO_8859-2";
    // 16-bit characters in the machine's byte order, as glibc names them.
    static constexpr const char* WideName = "UCS-2";
    static constexpr const char* Windows1250Name = "WINDOWS-1250";

    // Throws std::runtime_error "StringEncoding::OneToAnother(from => to): reason(errno:n)".
    static std::vector<char> OneToAnother(const char* input, std::size_t length,
                                          const char* fromEncoding, const char* toEncoding);

    static void Utf8ToLatin2(std::string& text);
    static void Latin2ToUtf8(std::string& text);
    static std::string WideToUtf8(const std::u16string& text);
    // A whole text of any length (a file read whole) to UTF-8; throws like OneToAnother.
    static std::string ToUtf8(const std::string& text, const char* fromEncoding);

    static std::string RemoveDiacritics(const std::string& text);
    static void RemoveDiacriticsInPlace(std::string& text);
    // Unaccented and in ASCII lower case: the form in which texts are compared when searching.
    static std::string MakeSearchKey(const std::string& text);
};

}  // namespace Kramo
