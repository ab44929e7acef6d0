#pragma once

#include <string>

namespace Kramo {

// printf-style formatting into the process-wide buffer of 512 characters; longer output is cut
// to 511 characters. The returned buffer is valid until the next call.
const char* FormatTextBuffer(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same, returned as a text of its own.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace Kramo
