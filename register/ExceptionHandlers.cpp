#include "ExceptionHandlers.h"

#include <stdexcept>

#include "support/Log.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace Kramo {

void HandleException(const std::exception& exception) {
    LogMessage(LogError, "HandleException: %s", exception.what());
    ShowErrorBox(exception.what(), _("Program nemohol vykonat operaciu."));
}

bool HandlePdfExceptions(const std::exception& exception) {
    const char* kind = N_("Unknown PDF error");
    bool recognised = true;
    if (dynamic_cast<const std::runtime_error*>(&exception) != nullptr) {
        kind = N_("PDF runtime error");
    } else if (dynamic_cast<const std::out_of_range*>(&exception) != nullptr) {
        kind = N_("PDF out of range error");
    } else {
        recognised = false;
    }
    LogMessage(LogError, "HandlePdfExceptions: '%s' - '%s'", kind, exception.what());
    ShowErrorBox(_(kind), exception.what());
    return recognised;
}

}  // namespace Kramo
