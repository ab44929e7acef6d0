#include "UniqueKey.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace Kramo {

std::string NewUniqueKey() {
    std::array<std::uint8_t, 16> bytes{};
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0 && errno != EINTR) {
            throw std::runtime_error("getrandom failed");
        }
        filled += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    static const char digits[] = "0123456789abcdef";
    std::string key;
    for (const std::uint8_t byte : bytes) {
        key += digits[byte >> 4];
        key += digits[byte & 0x0f];
    }
    return key;
}

}  // namespace Kramo
