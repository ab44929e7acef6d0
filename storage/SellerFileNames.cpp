#include "SellerFileNames.h"

#include <string_view>

namespace Kramo {
namespace {

// Keeps the whole file name well under the 255 bytes file systems allow.
constexpr std::size_t MaxNamePartLength = 100;

bool IsUnsafeInFileName(unsigned char c) {
    constexpr std::string_view refused = "/\\:*?\"<>|";
    return c < 0x20 || c == 0x7F || refused.find(static_cast<char>(c)) != std::string_view::npos;
}

// Cuts at a character boundary so that no half UTF-8 sequence ends the name.
std::string CutToLength(const std::string& text, std::size_t length) {
    if (text.size() <= length) {
        return text;
    }
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return text.substr(0, length);
}

std::string SafeNamePart(const std::string& text) {
    std::string part = CutToLength(text, MaxNamePartLength);
    for (char& c : part) {
        if (IsUnsafeInFileName(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return part;
}

}  // namespace

std::string SellerFileName(int sellerId, const std::string& shortCode, const std::string& name) {
    return std::to_string(sellerId) + "-" + SafeNamePart(shortCode) + "-" + SafeNamePart(name) +
           ".txt";
}

std::string SellerFilePattern(int sellerId) {
    return std::to_string(sellerId) + "-*.txt";
}

std::string SellerTemporaryFileName(int sellerId) {
    return std::to_string(sellerId) + ".tmp";
}

}  // namespace Kramo
