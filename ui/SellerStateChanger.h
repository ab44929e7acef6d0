#pragma once

#include <cstdint>
#include <string>

#include "core/Seller.h"
#include "register/KramoRegister.h"
#include "ui/FillingFlag.h"

namespace KramoDialogs {

class MainWindow;

// The main window's three seller-state buttons: a change is made only when the seller's items
// allow it, and handing goods over notes who took them.
class SellerStateChanger {
  public:
    SellerStateChanger(Kramo::KramoRegister& kramoRegister, MainWindow& mainWindow,
                       FillingFlag& filling);

    // The shown seller moves to the new state, or the button of its state comes back.
    void ChangeSellerState(int32_t newState);

  private:
    // False when the user cancels; an empty answer is asked again.
    bool AskWhoTookTheGoods(std::string& person);
    void ShowStateOf(const Kramo::Seller& seller);
    void StoreNewState(Kramo::Seller seller, int32_t newState, const std::string& role,
                       const std::string& person);

    Kramo::KramoRegister& kramoRegister_;
    MainWindow& mainWindow_;
    FillingFlag& filling_;
    std::string lastPerson_;  // offered again for the next change
};

}  // namespace KramoDialogs
