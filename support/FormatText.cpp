#include "FormatText.h"

#include <array>
#include <cstdarg>
#include <cstdio>

namespace Kramo {
namespace {

std::array<char, 512> sharedFormatBuffer{};

const char* FormatIntoSharedBuffer(const char* format, va_list arguments) {
    std::vsnprintf(sharedFormatBuffer.data(), sharedFormatBuffer.size(), format, arguments);
    return sharedFormatBuffer.data();
}

}  // namespace

const char* FormatTextBuffer(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const char* text = FormatIntoSharedBuffer(format, arguments);
    va_end(arguments);
    return text;
}

std::string FormatText(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = FormatIntoSharedBuffer(format, arguments);
    va_end(arguments);
    return text;
}

}  // namespace Kramo
