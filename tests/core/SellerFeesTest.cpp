#include "core/SellerFees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace Kramo;
using testing::IsEmpty;

Item MakeItem(double price, int32_t status, int32_t category = 1) {
    Item item;
    item.PRICE = price;
    item.STATUS = status;
    item.ITEM_CATEGORY_ID = category;
    return item;
}

ItemCategory MakeCategory(int32_t id, const std::string& name) {
    ItemCategory category;
    category.ID = id;
    category.NAME = name;
    return category;
}

SellerCategory OrdinarySeller() {
    SellerCategory seller;
    seller.ID = 1;
    seller.HandlingFactor = seller.HandlingPercentFactor = 1.0;
    seller.SaleFeeFactor = seller.SalePercentFactor = 1.0;
    return seller;
}

TEST(Rounding, DownToFiveCentsAfterAddingATenthOfACent) {
    const struct {
        double amount;
        double rounded;
    } cases[] = {{3.57, 3.55}, {0.3 * 7, 2.10}, {0.357, 0.35}, {0.0, 0.0},        {0.049, 0.05},
                 {0.048, 0.0}, {10.0, 10.0},    {2.099, 2.10}, {1.2 + 2.37, 3.55}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(R(c.amount), c.rounded) << c.amount;
    }
}

TEST(ComputeSellerFees, SoldSumIsRoundedDown) {
    const std::vector<Item> items = {MakeItem(1.20, Sold), MakeItem(2.37, Sold),
                                     MakeItem(9.0, InStock)};
    SellerCategory noFees;
    const SellerSettlement settlement =
        ComputeSellerFees(items, {MakeCategory(1, "Hračky")}, noFees, "eur");
    EXPECT_DOUBLE_EQ(settlement.soldSum, 3.55);
    EXPECT_DOUBLE_EQ(settlement.payout, 3.55);
    EXPECT_THAT(settlement.lines, IsEmpty());
}

TEST(ComputeSellerFees, HandlingFeePerItemHandedIn) {
    ItemCategory toys = MakeCategory(1, "Hračky");
    toys.HandlingFee = 0.30;
    const std::vector<Item> items(7, MakeItem(4.0, InStock));
    const SellerSettlement settlement = ComputeSellerFees(items, {toys}, OrdinarySeller(), "eur");
    ASSERT_EQ(settlement.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(settlement.lines[0].amount, 2.10);
    EXPECT_EQ(settlement.lines[0].kind, FeeKind::Handling);
    EXPECT_EQ(settlement.lines[0].text,
              "Manipulacny poplatok 0.30 eur za kazdy kus \"Hračky\" (7 ks)");
    EXPECT_DOUBLE_EQ(settlement.payout, -2.10);
}

TEST(ComputeSellerFees, SalePercentOfSoldItems) {
    ItemCategory clothes = MakeCategory(2, "Oblečenie");
    clothes.SalePercent = 10.0;
    const std::vector<Item> items = {MakeItem(1.20, Sold, 2), MakeItem(2.37, Sold, 2)};
    const SellerSettlement settlement =
        ComputeSellerFees(items, {clothes}, OrdinarySeller(), "eur");
    ASSERT_EQ(settlement.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(settlement.lines[0].amount, 0.35);
    EXPECT_EQ(settlement.lines[0].kind, FeeKind::Sale);
    EXPECT_EQ(settlement.lines[0].text,
              "Poplatok - 10.00% z ceny za kazdy predany kus \"Oblečenie\" (2 ks)");
    EXPECT_DOUBLE_EQ(settlement.payout, 3.55 - 0.35);
}

TEST(ComputeSellerFees, AllFourLinesInOrderWithFactorsApplied) {
    ItemCategory books = MakeCategory(3, "Knihy");
    books.HandlingFee = 0.10;
    books.HandlingPercent = 2.0;
    books.SaleFee = 0.20;
    books.SalePercent = 5.0;
    SellerCategory supporter = OrdinarySeller();
    supporter.HandlingFactor = 0.5;
    supporter.SaleFeeFactor = 2.0;
    const std::vector<Item> items = {MakeItem(10.0, Sold, 3), MakeItem(20.0, Sold, 3),
                                     MakeItem(30.0, Returned, 3), MakeItem(40.0, Unassigned, 3)};
    const SellerSettlement settlement = ComputeSellerFees(items, {books}, supporter, "Kč");

    ASSERT_EQ(settlement.lines.size(), 4u);
    EXPECT_EQ(settlement.lines[0].text,
              "Manipulacny poplatok 0.10 Kč za kazdy kus \"Knihy\" (3 ks)");
    EXPECT_DOUBLE_EQ(settlement.lines[0].amount, R(3 * 0.05));  // 0.15
    EXPECT_EQ(settlement.lines[1].text,
              "Manipulacny poplatok 2.00% z ceny za kazdy kus \"Knihy\" (3 ks)");
    EXPECT_DOUBLE_EQ(settlement.lines[1].amount, 1.20);
    EXPECT_EQ(settlement.lines[2].text, "Poplatok 0.20 Kč za kazdy predaný kus \"Knihy\" (2 ks)");
    EXPECT_DOUBLE_EQ(settlement.lines[2].amount, 0.80);
    EXPECT_EQ(settlement.lines[3].text,
              "Poplatok - 5.00% z ceny za kazdy predany kus \"Knihy\" (2 ks)");
    EXPECT_DOUBLE_EQ(settlement.lines[3].amount, 1.50);
    EXPECT_EQ(settlement.LinesOfKind(FeeKind::Handling).size(), 2u);
    EXPECT_EQ(settlement.LinesOfKind(FeeKind::Sale).size(), 2u);
    EXPECT_DOUBLE_EQ(settlement.soldSum, 30.0);
    EXPECT_NEAR(settlement.payout, 30.0 - 0.15 - 1.20 - 0.80 - 1.50, 1e-9);
    EXPECT_NEAR(settlement.FeeSum(), 3.65, 1e-9);
}

TEST(ComputeSellerFees, ZeroFactorsAndNoParticipationFeeCostNothing) {
    ItemCategory toys = MakeCategory(1, "Hračky");
    toys.HandlingFee = toys.SaleFee = 1.0;
    toys.HandlingPercent = toys.SalePercent = 10.0;
    const std::vector<Item> items = {MakeItem(5.0, Sold), MakeItem(5.0, InStock)};
    const SellerSettlement settlement = ComputeSellerFees(items, {toys}, SellerCategory{}, "eur");
    EXPECT_THAT(settlement.lines, IsEmpty());
    EXPECT_DOUBLE_EQ(settlement.payout, settlement.soldSum);
}

TEST(ComputeSellerFees, SellerWithoutItemsPaysOnlyParticipation) {
    SellerCategory seller = OrdinarySeller();
    seller.ParticipationFee = 1.5;
    const SellerSettlement settlement =
        ComputeSellerFees({}, {MakeCategory(1, "Hračky")}, seller, "eur");
    ASSERT_EQ(settlement.lines.size(), 1u);
    EXPECT_EQ(settlement.lines[0].text, "Manipulacny poplatok za ucast - 1.50");
    EXPECT_EQ(settlement.lines[0].kind, FeeKind::Participation);
    EXPECT_DOUBLE_EQ(settlement.soldSum, 0.0);
    EXPECT_DOUBLE_EQ(settlement.payout, -1.5);
}

TEST(ComputeSellerFees, ParticipationFeeIsNotRounded) {
    SellerCategory seller;
    seller.ParticipationFee = 0.33;
    const SellerSettlement settlement = ComputeSellerFees({MakeItem(1.0, Sold)}, {}, seller, "eur");
    ASSERT_EQ(settlement.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(settlement.lines[0].amount, 0.33);
    EXPECT_DOUBLE_EQ(settlement.payout, 1.0 - 0.33);
}

TEST(ComputeSellerFees, StatesDecideWhichFeesApply) {
    ItemCategory toys = MakeCategory(1, "Hračky");
    toys.HandlingFee = 1.0;
    toys.SaleFee = 1.0;
    for (int32_t status = Unassigned; status <= Undefined; ++status) {
        const SellerSettlement settlement =
            ComputeSellerFees({MakeItem(2.0, status)}, {toys}, OrdinarySeller(), "eur");
        SCOPED_TRACE(status);
        EXPECT_EQ(settlement.LinesOfKind(FeeKind::Handling).size(), status == Unassigned ? 0u : 1u);
        EXPECT_EQ(settlement.LinesOfKind(FeeKind::Sale).size(), status == Sold ? 1u : 0u);
        EXPECT_DOUBLE_EQ(settlement.soldSum, status == Sold ? 2.0 : 0.0);
    }
}

TEST(ComputeSellerFees, ItemOfUnknownCategoryIsSoldButBearsNoFee) {
    ItemCategory toys = MakeCategory(1, "Hračky");
    toys.SaleFee = 1.0;
    const SellerSettlement settlement =
        ComputeSellerFees({MakeItem(4.0, Sold, 99)}, {toys}, OrdinarySeller(), "eur");
    EXPECT_THAT(settlement.lines, IsEmpty());
    EXPECT_DOUBLE_EQ(settlement.soldSum, 4.0);
    EXPECT_DOUBLE_EQ(settlement.payout, 4.0);
}

TEST(ComputeSellerFees, CategoriesInListOrder) {
    ItemCategory first = MakeCategory(5, "Prvá");
    ItemCategory second = MakeCategory(2, "Druhá");
    first.HandlingFee = second.HandlingFee = 0.5;
    const std::vector<Item> items = {MakeItem(1.0, InStock, 2), MakeItem(1.0, InStock, 5)};
    const SellerSettlement settlement =
        ComputeSellerFees(items, {first, second}, OrdinarySeller(), "eur");
    ASSERT_EQ(settlement.lines.size(), 2u);
    EXPECT_THAT(settlement.lines[0].text, testing::HasSubstr("Prvá"));
    EXPECT_THAT(settlement.lines[1].text, testing::HasSubstr("Druhá"));
}

TEST(AssignCategoryByPrice, FirstInclusiveRangeElseFirstCategory) {
    ItemCategory cheap = MakeCategory(10, "lacné");
    cheap.PriceFrom = 0.0;
    cheap.PriceTo = 5.0;
    ItemCategory dear = MakeCategory(20, "drahé");
    dear.PriceFrom = 10.0;
    dear.PriceTo = 100.0;
    ItemCategory overlapping = MakeCategory(30, "všetko");
    overlapping.PriceFrom = 0.0;
    overlapping.PriceTo = 1000.0;
    const std::vector<ItemCategory> categories = {cheap, dear, overlapping};

    const struct {
        double price;
        int32_t category;
    } cases[] = {{5.0, 10}, {0.0, 10},   {10.0, 20}, {100.0, 20},
                 {7.5, 30}, {500.0, 30}, {-1.0, 10}, {5000.0, 10}};
    for (const auto& c : cases) {
        Item item = MakeItem(c.price, InStock, -1);
        EXPECT_TRUE(AssignCategoryByPrice(categories, item));
        EXPECT_EQ(item.ITEM_CATEGORY_ID, c.category) << c.price;
    }
}

TEST(AssignCategoryByPrice, NoCategoriesLeavesTheItemAlone) {
    Item item = MakeItem(3.0, InStock, 4);
    EXPECT_FALSE(AssignCategoryByPrice({}, item));
    EXPECT_EQ(item.ITEM_CATEGORY_ID, 4);
}

}  // namespace
