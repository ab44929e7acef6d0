#include "ItemMarking.h"

#include "core/SellerStatus.h"
#include "register/Purchase.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

// The seller's state in which a desk marks items, and so the one move it makes.
int32_t SellerStateOfDesk(ScanDesk desk) {
    return desk == ScanDesk::HandIn ? NotSelling : Selling;
}

ScanRefusal RefusalOfSeller(int32_t sellerStatus) {
    switch (sellerStatus) {
        case NotSelling:
            return ScanRefusal::SellerNotSelling;
        case Selling:
            return ScanRefusal::SellerSelling;
        case HandedBack:
            return ScanRefusal::SellerHandedBack;
        default:
            return ScanRefusal::UnknownState;
    }
}

// What the desk's line says after the item's name when the scan was taken.
std::string DoneText(ScanDesk desk, int32_t status) {
    switch (desk) {
        case ScanDesk::HandIn:
            return _("prebraté");
        case ScanDesk::Return:
            return _("vrátené");
        case ScanDesk::Find:
            break;
    }
    return ItemStatusDisplayName(status);
}

}  // namespace

std::optional<ItemMarking::Move> ItemMarking::OfSeller(int32_t sellerStatus) {
    switch (sellerStatus) {
        case NotSelling:
            return Move{Unassigned, InStock};
        case Selling:
            return Move{InStock, Returned};
        default:
            return std::nullopt;
    }
}

std::optional<int32_t> ItemMarking::Toggled(int32_t sellerStatus, int32_t itemStatus) {
    const std::optional<Move> move = OfSeller(sellerStatus);
    if (!move) {
        return std::nullopt;
    }
    if (itemStatus == move->from) {
        return move->to;
    }
    if (itemStatus == move->to) {
        return move->from;
    }
    return std::nullopt;
}

// The item's own state is named first: "už je prebraté" says more than the seller's state.
ItemMarking::Verdict ItemMarking::Scanned(ScanDesk desk, int32_t sellerStatus, int32_t itemStatus) {
    if (desk == ScanDesk::Find) {
        return {ScanRefusal::None, itemStatus};
    }
    const int32_t sellerOfDesk = SellerStateOfDesk(desk);
    const Move move = *OfSeller(sellerOfDesk);
    if (itemStatus == move.to) {
        return {
            desk == ScanDesk::HandIn ? ScanRefusal::AlreadyAccepted : ScanRefusal::AlreadyReturned,
            itemStatus};
    }
    if (itemStatus != move.from) {
        return {ItemScan::RefusalOfState(itemStatus), itemStatus};
    }
    if (sellerStatus != sellerOfDesk) {
        return {RefusalOfSeller(sellerStatus), itemStatus};
    }
    return {ScanRefusal::None, move.to};
}

bool ItemMarking::IsScan(ScanDesk desk, const SellerList& sellers, std::string_view text) {
    const std::string typed(text);
    if (typed.find_first_not_of(" \t") == std::string::npos || sellers.PositionOfCode(typed)) {
        return false;
    }
    return desk != ScanDesk::Find || !ItemScan::Parse(text).empty();
}

ItemMarking::DeskScan ItemMarking::ScanAtDesk(DataAccessInterface& store, const SellerList& sellers,
                                              ScanDesk desk, std::string_view text) {
    try {
        return ScanOnce(store, sellers, desk, text);
    } catch (const RecordChangedException&) {
    } catch (const WrongItemException&) {
    }
    // Another desk changed or removed the item between the reading and the writing: the scan
    // is judged again on the item as it is now.
    return ScanOnce(store, sellers, desk, text);
}

ItemMarking::DeskScan ItemMarking::ScanOnce(DataAccessInterface& store, const SellerList& sellers,
                                            ScanDesk desk, std::string_view text) {
    DeskScan scan{ItemScan::Find(store, sellers, Purchase(), text), Seller(), std::string()};
    ScanOutcome& outcome = scan.outcome;
    if (!outcome.item) {
        scan.report = ItemScan::RefusalText(outcome.refusal);
        return scan;
    }
    Item& item = *outcome.item;
    scan.seller = store.GetSeller(item.SELLER_ID);
    const Verdict verdict = Scanned(desk, scan.seller.STATUS, item.STATUS);
    outcome.refusal = verdict.refusal;
    if (verdict.status != item.STATUS) {
        item.STATUS = verdict.status;
        store.ModifyItem(item.ID, item);
    }
    scan.report = scan.seller.SHORT_CODE + "-" + std::to_string(item.NUMBER) + " " +
                  (outcome.refusal == ScanRefusal::None ? DoneText(desk, item.STATUS)
                                                        : ItemScan::RefusalText(outcome.refusal));
    return scan;
}

}  // namespace Kramo
