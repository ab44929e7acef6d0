#include "KramoRegister.h"

#include <stdexcept>

namespace Kramo {

DataAccessInterface& KramoRegister::Store() const {
    if (store_ == nullptr) {
        throw std::runtime_error("No data store is open.");
    }
    return *store_;
}

}  // namespace Kramo
