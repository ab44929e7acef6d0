#include "LocaleScope.h"

#include <stdexcept>

namespace KramoTest {

LocaleScope::LocaleScope(int category, const char* name)
    : category_(category), former_(std::setlocale(category, nullptr)) {
    if (std::setlocale(category, name) == nullptr) {
        throw std::runtime_error(std::string("locale not available: ") + name +
                                 " (tests find it through LOCPATH)");
    }
}

LocaleScope::~LocaleScope() {
    std::setlocale(category_, former_.c_str());
}

}  // namespace KramoTest
