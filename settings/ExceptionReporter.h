#pragma once

#include <exception>

namespace Kramo {

// Where an operation sends a failure that the user must see but that must not end the
// operation's caller: the program's HandleException writes it to the log and shows the error
// box, tests keep the failures to look at them.
class ExceptionReporter {
  public:
    virtual ~ExceptionReporter() = default;

    virtual void HandleException(const std::exception& failure) = 0;
};

}  // namespace Kramo
