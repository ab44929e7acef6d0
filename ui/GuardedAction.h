#pragma once

#include <exception>
#include <utility>

#include "register/ExceptionHandlers.h"

namespace KramoDialogs {

// A signal handler that reports a failure of its action through HandleException instead of
// letting it escape into the toolkit's main loop.
template <typename Action>
auto Guarded(Action action) {
    return [action = std::move(action)](auto&&... arguments) {
        try {
            action(std::forward<decltype(arguments)>(arguments)...);
        } catch (const std::exception& exception) {
            Kramo::HandleException(exception);
        }
    };
}

}  // namespace KramoDialogs
