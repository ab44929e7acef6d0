#include "SellerStateChanger.h"

#include <gtkmm/radiobutton.h>

#include "register/ConcurrentEdits.h"
#include "register/ExceptionHandlers.h"
#include "register/SellerStateRules.h"
#include "support/Translation.h"
#include "support/UserMessages.h"
#include "ui/GuardedAction.h"
#include "ui/MainWindow.h"

namespace KramoDialogs {

SellerStateChanger::SellerStateChanger(Kramo::KramoRegister& kramoRegister, MainWindow& mainWindow,
                                       FillingFlag& filling)
    : kramoRegister_(kramoRegister), mainWindow_(mainWindow), filling_(filling) {
    for (const int32_t state : {Kramo::NotSelling, Kramo::Selling, Kramo::HandedBack}) {
        Gtk::RadioButton& button = mainWindow_.StateButton(state);
        // Toggling also reports the button that goes off: only the one that comes on counts.
        button.signal_toggled().connect(Guarded([this, state, &button] {
            if (!filling_.IsSet() && button.get_active()) {
                ChangeSellerState(state);
            }
        }));
    }
}

void SellerStateChanger::ChangeSellerState(int32_t newState) {
    if (mainWindow_.CurrentSellerId() == -1) {
        return;
    }
    const Kramo::Seller seller = mainWindow_.CurrentSeller();
    if (newState == seller.STATUS) {
        return;
    }
    const Kramo::SellerStateRules::Decision decision = Kramo::SellerStateRules::Check(
        seller.STATUS, newState, kramoRegister_.Store().GetSellerItems(seller.ID));
    if (decision.refused || decision.badItems > 0) {
        if (decision.badItems > 0) {
            Kramo::ShowErrorBox(decision.badMessage, _("Prosím opravte"));
        }
        ShowStateOf(seller);
        return;
    }
    std::string person;
    if (!decision.personRole.empty() && !AskWhoTookTheGoods(person)) {
        ShowStateOf(seller);
        return;
    }
    try {
        StoreNewState(seller, newState, decision.personRole, person);
    } catch (const Kramo::RecordChangedException&) {
        mainWindow_.ShowStoreAsItIs();
        Kramo::TellChangedElsewhere(Kramo::EditedRecord::Seller);
    } catch (const Kramo::WrongSellerException&) {
        mainWindow_.ShowStoreAsItIs();
        Kramo::TellRemovedElsewhere(Kramo::EditedRecord::Seller);
    } catch (const std::exception& failure) {
        Kramo::HandleException(failure);
        ShowStateOf(seller);  // the buttons show what the store holds
    }
}

bool SellerStateChanger::AskWhoTookTheGoods(std::string& person) {
    do {
        person = lastPerson_;
        if (!Kramo::AskText(_("Kto prebral tovar tohoto predajcu?"), person)) {
            return false;
        }
    } while (person.empty());
    lastPerson_ = person;
    return true;
}

void SellerStateChanger::StoreNewState(Kramo::Seller seller, int32_t newState,
                                       const std::string& role, const std::string& person) {
    Kramo::DataAccessInterface& store = kramoRegister_.Store();
    store.MarkSellerChanging(seller.ID);
    seller.STATUS = newState;
    if (!role.empty()) {
        seller.COMMENT = Kramo::SellerStateRules::NoteWithPerson(seller.COMMENT, role, person);
    }
    store.UpdateSeller(seller.ID, seller);
    mainWindow_.ReloadSellerList();
    mainWindow_.ShowSeller(store.GetSellerByCode(seller.SHORT_CODE));
}

void SellerStateChanger::ShowStateOf(const Kramo::Seller& seller) {
    FillingFlag::Scope filling(filling_);
    mainWindow_.StateButton(seller.STATUS).set_active(true);
}

}  // namespace KramoDialogs
