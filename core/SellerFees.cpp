#include "SellerFees.h"

#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

// Fee totals of one item category for one seller, before rounding.
struct CategoryFees {
    int handedIn = 0;
    int sold = 0;
    double handling = 0.0;         // A1
    double handlingPercent = 0.0;  // A2
    double sale = 0.0;             // A3
    double salePercent = 0.0;      // A4
};

CategoryFees SumCategoryFees(const std::vector<Item>& items, const ItemCategory& category,
                             const SellerCategory& seller) {
    const double handlingPerItem = category.HandlingFee * seller.HandlingFactor;
    const double handlingRate = category.HandlingPercent * seller.HandlingPercentFactor / 100.0;
    const double salePerItem = category.SaleFee * seller.SaleFeeFactor;
    const double saleRate = category.SalePercent * seller.SalePercentFactor / 100.0;

    CategoryFees fees;
    for (const Item& item : items) {
        if (item.ITEM_CATEGORY_ID != category.ID) {
            continue;
        }
        if (item.STATUS == Sold) {
            ++fees.sold;
            fees.sale += salePerItem;
            fees.salePercent += item.PRICE * saleRate;
        }
        if (item.STATUS != Unassigned) {
            ++fees.handedIn;
            fees.handling += handlingPerItem;
            fees.handlingPercent += item.PRICE * handlingRate;
        }
    }
    fees.handling = R(fees.handling);
    fees.handlingPercent = R(fees.handlingPercent);
    fees.sale = R(fees.sale);
    fees.salePercent = R(fees.salePercent);
    return fees;
}

void AddLineIfCharged(SellerSettlement& settlement, double amount, FeeKind kind, std::string text) {
    if (amount > 0.0) {
        settlement.AddLine({std::move(text), amount, kind});
    }
}

void AddCategoryLines(SellerSettlement& settlement, const CategoryFees& fees,
                      const ItemCategory& category, const std::string& unit) {
    const char* name = category.NAME.c_str();
    AddLineIfCharged(settlement, fees.handling, FeeKind::Handling,
                     FormatText(_("Manipulacny poplatok %0.2f %s za kazdy kus \"%s\" (%i ks)"),
                                category.HandlingFee, unit.c_str(), name, fees.handedIn));
    AddLineIfCharged(
        settlement, fees.handlingPercent, FeeKind::Handling,
        FormatText(_("Manipulacny poplatok %0.2f%% z ceny za kazdy kus \"%s\" (%i ks)"),
                   category.HandlingPercent, name, fees.handedIn));
    AddLineIfCharged(settlement, fees.sale, FeeKind::Sale,
                     FormatText(_("Poplatok %0.2f %s za kazdy predaný kus \"%s\" (%i ks)"),
                                category.SaleFee, unit.c_str(), name, fees.sold));
    AddLineIfCharged(settlement, fees.salePercent, FeeKind::Sale,
                     FormatText(_("Poplatok - %0.2f%% z ceny za kazdy predany kus \"%s\" (%i ks)"),
                                category.SalePercent, name, fees.sold));
}

}  // namespace

double R(double amount) {
    return static_cast<double>(static_cast<long long>((amount + 0.001) * 20.0)) / 20.0;
}

SellerSettlement ComputeSellerFees(const std::vector<Item>& items,
                                   const std::vector<ItemCategory>& itemCategories,
                                   const SellerCategory& sellerCategory,
                                   const std::string& currencyUnit) {
    SellerSettlement settlement;
    double soldSum = 0.0;
    for (const Item& item : items) {
        if (item.STATUS == Sold) {
            soldSum += item.PRICE;
        }
    }
    settlement.soldSum = R(soldSum);
    settlement.payout = settlement.soldSum;

    for (const ItemCategory& category : itemCategories) {
        const CategoryFees fees = SumCategoryFees(items, category, sellerCategory);
        settlement.payout =
            settlement.payout - fees.handling - fees.handlingPercent - fees.sale - fees.salePercent;
        AddCategoryLines(settlement, fees, category, currencyUnit);
    }

    const double participation = sellerCategory.ParticipationFee;
    if (participation > 0.0) {
        settlement.payout -= participation;
        settlement.AddLine({FormatText(_("Manipulacny poplatok za ucast - %0.2f"), participation),
                            participation, FeeKind::Participation});
    }
    return settlement;
}

bool AssignCategoryByPrice(const std::vector<ItemCategory>& itemCategories, Item& item) {
    if (itemCategories.empty()) {
        return false;
    }
    for (const ItemCategory& category : itemCategories) {
        if (category.PriceFrom <= item.PRICE && item.PRICE <= category.PriceTo) {
            item.ITEM_CATEGORY_ID = category.ID;
            return true;
        }
    }
    item.ITEM_CATEGORY_ID = itemCategories.front().ID;
    return true;
}

}  // namespace Kramo
