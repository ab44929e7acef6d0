#pragma once

#include <string>

namespace KramoExcel {

// UTF-16 units to UTF-8, for texts of any length; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace KramoExcel
