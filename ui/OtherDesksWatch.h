#pragma once

#include <sigc++/connection.h>

#include "core/ItemSearch.h"
#include "register/KramoRegister.h"
#include "ui/FillingFlag.h"

namespace KramoDialogs {

class CheckoutWindow;
class MainWindow;

// Keeps the windows current with what the other desks change: a short timer takes the open
// store's changes and hands them to the item search, the checkout and the main window. A
// store only this desk uses has none, and the timer then finds nothing.
class OtherDesksWatch {
  public:
    static constexpr unsigned IntervalMilliseconds = 100;

    OtherDesksWatch(Kramo::KramoRegister& kramoRegister, Kramo::ItemSearch& search,
                    FillingFlag& filling, CheckoutWindow& checkout, MainWindow& mainWindow);
    ~OtherDesksWatch();
    OtherDesksWatch(const OtherDesksWatch&) = delete;
    OtherDesksWatch& operator=(const OtherDesksWatch&) = delete;

    // Takes what is waiting and applies it; the timer's work.
    void FollowChanges();

  private:
    Kramo::KramoRegister& kramoRegister_;
    Kramo::ItemSearch& search_;
    FillingFlag& filling_;
    CheckoutWindow& checkout_;
    MainWindow& mainWindow_;
    sigc::connection timer_;
};

}  // namespace KramoDialogs
