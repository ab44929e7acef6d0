#pragma once

#include <exception>

namespace Kramo {

// The common failure report of a user action: a log line and the error box. The caller goes
// on as after a cancelled operation.
void HandleException(const std::exception& exception);

// The report of a failure while a PDF document was written. True for a runtime or an
// out-of-range error, false for a kind nobody expected.
bool HandlePdfExceptions(const std::exception& exception);

}  // namespace Kramo
