#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "core/Item.h"
#include "core/ItemBarcode.h"
#include "core/ItemCategory.h"
#include "core/ItemStatus.h"
#include "core/Seller.h"
#include "core/SellerStatus.h"
#include "support/Clock.h"

namespace {

using namespace Kramo;

TEST(Records, NewItemIsUnstoredWithEmptyTime) {
    const Item item;
    EXPECT_EQ(item.PRICE, -1.0);
    EXPECT_EQ(item.NUMBER, -1);
    EXPECT_EQ(item.ID, -1);
    EXPECT_EQ(item.SELLER_ID, -1);
    EXPECT_EQ(item.ITEM_CATEGORY_ID, -1);
    EXPECT_EQ(item.STATUS, Unassigned);
    EXPECT_TRUE(item.MODIFIED.IsEmpty());
    EXPECT_EQ(item.MODIFIED.DayOfWeek, -1);
}

TEST(Records, NewSellerTakesTheCurrentTime) {
    const Seller seller;
    EXPECT_EQ(seller.ID, -1);
    EXPECT_EQ(seller.SELLER_CATEGORY_ID, -1);
    EXPECT_EQ(seller.STATUS, NotSelling);
    EXPECT_TRUE(seller.NAME.empty() && seller.SHORT_CODE.empty() && seller.COMMENT.empty());
    EXPECT_EQ(seller.MODIFIED, Clock::Instance().Current());
    EXPECT_FALSE(seller.MODIFIED.IsEmpty());
}

TEST(Records, ItemBuiltAsNewKeepsGoodsButNotIdentity) {
    Item stored;
    stored.NAME = "Kočík";
    stored.NUMBER = 12;
    stored.PRICE = 25.5;
    stored.ITEM_CATEGORY_ID = 3;
    stored.STATUS = Sold;
    stored.ID = 77;
    stored.SELLER_ID = 5;
    stored.MODIFIED = CurrentTimestamp();

    const Item fresh = Item::NewFrom(stored);
    EXPECT_EQ(fresh.NAME, "Kočík");
    EXPECT_EQ(fresh.NUMBER, 12);
    EXPECT_EQ(fresh.PRICE, 25.5);
    EXPECT_EQ(fresh.ITEM_CATEGORY_ID, 3);
    EXPECT_EQ(fresh.STATUS, Sold);
    EXPECT_EQ(fresh.ID, -1);
    EXPECT_EQ(fresh.SELLER_ID, -1);
    EXPECT_TRUE(fresh.MODIFIED.IsEmpty());

    const Item copy = stored;
    EXPECT_EQ(copy, stored);
    EXPECT_NE(fresh, stored);
}

TEST(Records, ItemStatusNamesAndLetters) {
    const struct {
        int32_t status;
        const char* name;
    } cases[] = {{-5, "?"},      {-1, "?"},  {0, "Nezaradene"}, {1, "Skladom"}, {2, "Predane"},
                 {3, "Vratene"}, {4, "Dar"}, {5, "Dohladat"},   {6, "?"},       {7, "?"}};
    for (const auto& c : cases) {
        EXPECT_STREQ(ItemStatusDisplayName(c.status), c.name) << c.status;
    }
    EXPECT_STREQ(ItemStatusNames[Undefined], "Nedefinovane");
    EXPECT_STREQ(ItemStatusLetters, "ospvdnu");
    EXPECT_EQ(ItemStatusLetters[Sold], 'p');
}

TEST(Records, SellerStatusNames) {
    EXPECT_STREQ(SellerStatusDisplayName(NotSelling), "Zatial nepredava");
    EXPECT_STREQ(SellerStatusDisplayName(Selling), "Predava");
    EXPECT_STREQ(SellerStatusDisplayName(HandedBack), "Vydany spat");
    EXPECT_STREQ(SellerStatusDisplayName(3), "?");
    EXPECT_STREQ(SellerStatusDisplayName(-1), "?");
}

TEST(Records, CategoryDefaultsReadLikeDatabaseNulls) {
    const ItemCategory category;
    EXPECT_EQ(category.PriceFrom, 0.0);
    EXPECT_EQ(category.PriceTo, 10000000.0);
}

TEST(Records, ItemBarcodeNamesSellerAndNumberAndReadsBack) {
    using Kramo::ItemBarcode;
    using Kramo::ItemKey;
    EXPECT_EQ(ItemBarcode::Text({12, 17}), "KR0000120017");
    EXPECT_EQ(ItemBarcode::Text({0, 1000}), "KR0000001000");
    EXPECT_EQ(ItemBarcode::Text({INT32_MAX, 9999}), "KR21474836479999");
    for (const ItemKey key : {ItemKey{12, 17}, ItemKey{0, 1000}, ItemKey{INT32_MAX, 9999}}) {
        EXPECT_EQ(ItemBarcode::Parse(ItemBarcode::Text(key)), key);
    }
    EXPECT_EQ(ItemBarcode::Parse("kr0000120017"), (ItemKey{12, 17}));
    for (const char* other : {"", "AB17", "KR000012001", "KR00001200I7", "XR0000120017",
                              "KR0000120017 ", "KR99999999990001"}) {
        EXPECT_FALSE(ItemBarcode::Parse(other)) << other;
    }
    EXPECT_THROW(ItemBarcode::Text({-1, 1}), std::invalid_argument);
    EXPECT_THROW(ItemBarcode::Text({1, 10000}), std::invalid_argument);
}

}  // namespace
