#include "register/SellerList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using Kramo::Seller;
using Kramo::SellerList;
using testing::ElementsAre;

Seller MakeSeller(int id, const std::string& code, const std::string& name) {
    Seller seller;
    seller.ID = id;
    seller.SHORT_CODE = code;
    seller.NAME = name;
    return seller;
}

TEST(SellerList, SortsByCodeWithoutRegardToCase) {
    SellerList list;
    list.Reload(
        {MakeSeller(1, "b", "Beta"), MakeSeller(2, "A", "Alfa"), MakeSeller(3, "c", "Cyril")});
    EXPECT_THAT(list.ComboTexts(), ElementsAre("A - Alfa", "b - Beta", "c - Cyril"));
}

TEST(SellerList, FindTextMarksNamesFirstThenCodes) {
    SellerList list;
    list.Reload(
        {MakeSeller(1, "X", "Abel"), MakeSeller(2, "AB", "Cabot"), MakeSeller(3, "BEZ", "Dana")});
    list.ApplyFindText("be");
    // Abel holds "be" in its name, BEZ only in its code, Cabot in neither; the marked ones
    // come first, each part in code order.
    EXPECT_THAT(list.ComboTexts(), ElementsAre(">>>  BEZ - Dana", ">>  X - Abel", "AB - Cabot"));
}

TEST(SellerList, FindTextIgnoresDiacriticsAndCase) {
    SellerList list;
    list.Reload({MakeSeller(1, "AA", "Peter"), MakeSeller(2, "ZZ", "Ľubica Šťastná")});
    list.ApplyFindText("STAST");
    EXPECT_THAT(list.ComboTexts(), ElementsAre(">>  ZZ - Ľubica Šťastná", "AA - Peter"));
    list.ApplyFindText("šťa");
    EXPECT_EQ(list.At(0).seller.ID, 2);
}

TEST(SellerList, SingleCharacterLeavesTheListUnmarked) {
    SellerList list;
    list.Reload({MakeSeller(1, "X", "Abel"), MakeSeller(2, "AB", "Cabot")});
    for (const char* text : {"b", "Č", ""}) {
        list.ApplyFindText(text);
        EXPECT_THAT(list.ComboTexts(), ElementsAre("AB - Cabot", "X - Abel")) << text;
    }
}

TEST(SellerList, NewFindTextClearsFormerMarks) {
    SellerList list;
    list.Reload({MakeSeller(1, "X", "Abel"), MakeSeller(2, "AB", "Cabot")});
    list.ApplyFindText("abel");
    list.ApplyFindText("cab");
    EXPECT_THAT(list.ComboTexts(), ElementsAre(">>  AB - Cabot", "X - Abel"));
}

TEST(SellerList, FindsByCodeIgnoringCaseAndById) {
    SellerList list;
    list.Reload({MakeSeller(1, "X", "Abel"), MakeSeller(2, "AB", "Cabot")});
    EXPECT_EQ(list.PositionOfCode("ab"), 0u);
    EXPECT_EQ(list.PositionOfCode("x"), 1u);
    EXPECT_FALSE(list.PositionOfCode("abc").has_value());
    EXPECT_EQ(list.PositionOfId(1), 1u);
    EXPECT_FALSE(list.PositionOfId(7).has_value());
}

TEST(SellerList, EmptyStoreGivesAnEmptyList) {
    SellerList list;
    list.Reload({});
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.ComboTexts().empty());
    list.ApplyFindText("abc");
    EXPECT_FALSE(list.PositionOfCode("").has_value());
}

}  // namespace
