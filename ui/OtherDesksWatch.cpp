#include "OtherDesksWatch.h"

#include <glibmm/main.h>

#include "ui/CheckoutWindow.h"
#include "ui/GuardedAction.h"
#include "ui/MainWindow.h"

namespace KramoDialogs {

OtherDesksWatch::OtherDesksWatch(Kramo::KramoRegister& kramoRegister, Kramo::ItemSearch& search,
                                 FillingFlag& filling, CheckoutWindow& checkout,
                                 MainWindow& mainWindow)
    : kramoRegister_(kramoRegister),
      search_(search),
      filling_(filling),
      checkout_(checkout),
      mainWindow_(mainWindow) {
    // A timer rather than a watch on the store's socket: the store may be replaced by new
    // settings, and its listening connection opened anew, at any time.
    timer_ = Glib::signal_timeout().connect(
        [this] {
            Guarded([this] { FollowChanges(); })();
            return true;
        },
        IntervalMilliseconds);
}

OtherDesksWatch::~OtherDesksWatch() {
    timer_.disconnect();
}

void OtherDesksWatch::FollowChanges() {
    // While the program refills widgets itself the changes wait in the store for the next tick.
    if (filling_.IsSet() || !kramoRegister_.HasStore()) {
        return;
    }
    const std::vector<Kramo::StoreChange> changes = kramoRegister_.Store().TakeChanges();
    if (changes.empty()) {
        return;
    }
    search_.ApplyChanges(changes);
    checkout_.FollowOtherDesks(changes);
    mainWindow_.FollowOtherDesks(changes);
}

}  // namespace KramoDialogs
