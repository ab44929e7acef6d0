#pragma once

#include <string>

namespace Kramo {

// 128 random bits from the kernel as 32 hexadecimal digits: a key that no other desk, no
// restart and no second program on the same computer makes again.
std::string NewUniqueKey();

}  // namespace Kramo
