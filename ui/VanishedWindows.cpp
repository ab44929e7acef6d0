#include "VanishedWindows.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include "support/Log.h"

namespace KramoDialogs {
namespace {

XErrorHandler toolkitHandler = nullptr;

int FilterErrors(Display* display, XErrorEvent* error) {
    // The query itself fails and says so to its caller; nothing else depends on the window.
    if (error->error_code == BadWindow && error->request_code == X_QueryPointer) {
        Kramo::LogMessage(Kramo::LogNotice, "X: pointer asked over a vanished window %lu\n",
                          error->resourceid);
        return 0;
    }
    return toolkitHandler != nullptr ? toolkitHandler(display, error) : 0;
}

}  // namespace

void SurviveVanishedWindows() {
    const XErrorHandler former = XSetErrorHandler(FilterErrors);
    if (former != FilterErrors) {
        toolkitHandler = former;
    }
}

}  // namespace KramoDialogs
