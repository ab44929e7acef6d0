#pragma once

#include <stdexcept>
#include <string>

namespace Kramo {

// A database failure the store raises itself: a connection that could not be made, or a
// database of the wrong schema version.
class database_exception : public std::runtime_error {
  public:
    explicit database_exception(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace Kramo
