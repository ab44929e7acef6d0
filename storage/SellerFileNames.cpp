#include "SellerFileNames.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "support/TextHelpers.h"

namespace Kramo {
namespace {

// Keeps the whole file name well under the 255 bytes file systems allow.
constexpr std::size_t MaxNamePartLength = 100;

bool IsUnsafeInFileName(unsigned char c) {
    constexpr std::string_view refused = "/\\:*?\"<>|";
    return c < 0x20 || c == 0x7F || refused.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string SafeNamePart(const std::string& text) {
    std::string part = CutAtCharacter(text, MaxNamePartLength);
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

std::string SellerTemporaryFileName(int sellerId) {
    return std::to_string(sellerId) + ".tmp";
}

bool IsSellerTemporaryFileName(const std::string& name) {
    constexpr std::string_view start = ".tmp";
    constexpr std::size_t endingLength = 7;  // "." and six letters or digits
    const std::size_t digits = name.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string::npos || name.compare(digits, start.size(), start)) {
        return false;
    }
    const std::string ending = name.substr(digits + start.size());
    // Earlier versions always wrote to "<ID>.tmp" itself.
    return ending.empty() || (ending.size() == endingLength && ending[0] == '.' &&
                              std::all_of(ending.begin() + 1, ending.end(), [](char c) {
                                  return std::isalnum(static_cast<unsigned char>(c)) != 0;
                              }));
}

}  // namespace Kramo
