#include "core/DataAccessInterface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MemoryStore.h"

namespace {

using namespace Kramo;
using KramoTest::MemoryStore;
using testing::ElementsAre;
using testing::IsEmpty;

int AddSellerWithCode(MemoryStore& store, const std::string& code) {
    Seller seller;
    seller.SHORT_CODE = code;
    return store.AddSeller(seller);
}

int AddItemOfCategory(MemoryStore& store, int sellerId, int32_t category) {
    Item item;
    item.ITEM_CATEGORY_ID = category;
    return store.AddItem(item, sellerId);
}

ItemCategory MakeItemCategory(int32_t id, char code) {
    ItemCategory category;
    category.ID = id;
    category.CODE = code;
    category.NAME = std::string("category ") + code;
    return category;
}

SellerCategory MakeSellerCategory(int32_t id, char code) {
    SellerCategory category;
    category.ID = id;
    category.CODE = code;
    return category;
}

// Advances the two-letter code `steps` times on the odometer AA, AB, .., AZ, BA, ..
std::string TwoLetterCode(int steps) {
    return {static_cast<char>('A' + steps / 26 % 26), static_cast<char>('A' + steps % 26)};
}

TEST(StorageExceptions, FixedTextsInOneFamily) {
    const std::pair<std::exception_ptr, const char*> cases[] = {
        {std::make_exception_ptr(DataStorageException()), "DataStorageException"},
        {std::make_exception_ptr(WrongSellerException()), "Wrong Seller"},
        {std::make_exception_ptr(WrongItemException()), "Wrong Item"},
        {std::make_exception_ptr(NotImplementedException()), "Functionality not implemented"},
        {std::make_exception_ptr(WrongItemCategoryException()), "Wrong Item category"},
        {std::make_exception_ptr(WrongSellerCategoryException()), "Wrong Seller category"},
    };
    for (const auto& [exception, text] : cases) {
        try {
            std::rethrow_exception(exception);
        } catch (const DataStorageException& caught) {
            EXPECT_STREQ(caught.what(), text);
        }
    }
}

TEST(GetNextSellerId, LargestPlusOne) {
    MemoryStore store;
    EXPECT_EQ(store.GetNextSellerId(), 1);
    for (int id : {1, 5, 3}) {
        Seller seller;
        seller.ID = id;
        store.PutSeller(seller);
    }
    EXPECT_EQ(store.GetNextSellerId(), 6);
}

TEST(GetItemsByIds, InRequestOrderAndFailsOnUnknownId) {
    MemoryStore store;
    const int seller = AddSellerWithCode(store, "AB");
    const int first = AddItemOfCategory(store, seller, 1);
    const int second = AddItemOfCategory(store, seller, 2);
    const std::vector<Item> items = store.GetItemsByIds({second, first, second});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].ID, second);
    EXPECT_EQ(items[1].ID, first);
    EXPECT_EQ(items[2].ID, second);
    EXPECT_THAT(store.GetItemsByIds({}), IsEmpty());
    EXPECT_THROW(store.GetItemsByIds({first, 999}), WrongItemException);
}

TEST(GetCategoriesOfItems, AsksOnceForTheDistinctCategories) {
    MemoryStore store;
    store.itemCategories = {MakeItemCategory(1, 'a'), MakeItemCategory(2, 'b'),
                            MakeItemCategory(3, 'c')};
    const int seller = AddSellerWithCode(store, "AB");
    for (int32_t category : {2, 1, 2})
        AddItemOfCategory(store, seller, category);

    const std::vector<ItemCategory> categories =
        store.GetCategoriesOfItems(store.GetSellerItems(seller));
    ASSERT_EQ(store.itemCategoryRequests.size(), 1u);
    EXPECT_THAT(store.itemCategoryRequests[0], ElementsAre(1, 2));
    ASSERT_EQ(categories.size(), 3u);
    EXPECT_EQ(categories[0].ID, 2);
    EXPECT_EQ(categories[1].ID, 1);
    EXPECT_EQ(categories[2].ID, 2);
}

TEST(GetCategoriesOfItems, EmptyListAsksNothing) {
    MemoryStore store;
    EXPECT_THAT(store.GetCategoriesOfItems({}), IsEmpty());
    EXPECT_THAT(store.itemCategoryRequests, IsEmpty());
}

TEST(GetCategoriesOfItems, UnknownCategoryFailsTheWholeList) {
    MemoryStore store;
    store.itemCategories = {MakeItemCategory(1, 'a')};
    const int seller = AddSellerWithCode(store, "AB");
    AddItemOfCategory(store, seller, 1);
    AddItemOfCategory(store, seller, 7);
    EXPECT_THROW(store.GetCategoriesOfItems(store.GetSellerItems(seller)),
                 WrongItemCategoryException);
}

TEST(CategoryLookups, SingleCategoryByIdOrCode) {
    MemoryStore store;
    store.itemCategories = {MakeItemCategory(1, 'a'), MakeItemCategory(2, 'b')};
    store.sellerCategories = {MakeSellerCategory(1, 'P'), MakeSellerCategory(2, 'S')};
    EXPECT_EQ(store.GetItemCategory(2).CODE, 'b');
    EXPECT_EQ(store.GetItemCategoryByCode('a').ID, 1);
    EXPECT_EQ(store.GetSellerCategory(2).CODE, 'S');
    EXPECT_EQ(store.GetSellerCategoryByCode('P').ID, 1);
}

TEST(CategoryLookups, KeyTheStoreCannotFindIsAFailureNotAnEmptyRecord) {
    MemoryStore store;
    store.itemCategories = {MakeItemCategory(1, 'a')};
    store.sellerCategories = {MakeSellerCategory(1, 'P')};
    EXPECT_THROW(store.GetItemCategory(9), WrongItemCategoryException);
    EXPECT_THROW(store.GetItemCategoryByCode('z'), WrongItemCategoryException);
    EXPECT_THROW(store.GetSellerCategory(9), WrongSellerCategoryException);
    EXPECT_THROW(store.GetSellerCategoryByCode('z'), WrongSellerCategoryException);
}

// A store may answer an unknown seller category with its fallback list.
class FallbackCategoryStore : public MemoryStore {
  public:
    std::vector<SellerCategory> GetSellerCategoriesByIds(const std::vector<int>&) override {
        return sellerCategories;
    }
};

TEST(CategoryLookups, SellerCategoryPrefersTheExactIdElseTheFirst) {
    FallbackCategoryStore store;
    store.sellerCategories = {MakeSellerCategory(1, 'P'), MakeSellerCategory(2, 'S')};
    EXPECT_EQ(store.GetSellerCategory(2).CODE, 'S');
    EXPECT_EQ(store.GetSellerCategory(42).CODE, 'P');
}

TEST(ReservedOperations, AnswerNothingOrRefuse) {
    MemoryStore store;
    EXPECT_FALSE(store.ReservedCheckA(1));
    EXPECT_FALSE(store.ReservedCheckB(1));
    EXPECT_EQ(store.ReservedCountA(1), 0);
    EXPECT_EQ(store.ReservedCountB(1), 0);
    EXPECT_THROW(store.ReservedOperationA(), NotImplementedException);
    EXPECT_THROW(store.ReservedOperationB(), NotImplementedException);
    EXPECT_FALSE(store.GetCurrentTimestamp().IsEmpty());
}

TEST(AddItems, NumbersTheCallersItems) {
    MemoryStore store;
    const int seller = AddSellerWithCode(store, "AB");
    std::vector<Item> none;
    store.AddItems(none, seller);
    EXPECT_THAT(store.GetSellerItems(seller), IsEmpty());

    std::vector<Item> items(3);
    store.AddItems(items, seller);
    EXPECT_EQ(items[0].ID, 1);
    EXPECT_EQ(items[2].ID, 3);
    for (const Item& item : items)
        EXPECT_EQ(item.SELLER_ID, seller);
    EXPECT_EQ(store.GetSellerItems(seller).size(), 3u);
}

TEST(GenerateSellerCode, InitialsOfTheName) {
    MemoryStore store;
    EXPECT_EQ(store.GenerateSellerCode("Red Shop", "", -1), "RS");
    EXPECT_EQ(store.GenerateSellerCode("  red   shop  ", "", -1), "RS");
    EXPECT_EQ(store.GenerateSellerCode("Toys", "", -1), "TA");
    EXPECT_EQ(store.GenerateSellerCode("", "", -1), "AA");
    EXPECT_EQ(store.GenerateSellerCode("Red Shop", "xy", -1), "XY");
    EXPECT_EQ(store.GenerateSellerCode("Anna Berta Cyril Dana", "", -1), "ABCD");
}

TEST(GenerateSellerCode, InitialWithDiacriticsStaysWhole) {
    MemoryStore store;
    EXPECT_EQ(store.GenerateSellerCode("Čierna Šatka", "", -1), "ČŠ");
    EXPECT_EQ(store.GenerateSellerCode("Ľudo", "", -1), "ĽA");
}

TEST(GenerateSellerCode, TakenCodeAdvancesIgnoringCase) {
    MemoryStore store;
    AddSellerWithCode(store, "rs");
    EXPECT_EQ(store.GenerateSellerCode("Red Shop", "", -1), "RT");
    AddSellerWithCode(store, "RT");
    EXPECT_EQ(store.GenerateSellerCode("Red Shop", "", -1), "RU");
}

TEST(GenerateSellerCode, EditedSellerKeepsItsOwnCode) {
    MemoryStore store;
    const int owner = AddSellerWithCode(store, "RS");
    EXPECT_EQ(store.GenerateSellerCode("Red Shop", "", owner), "RS");
    EXPECT_EQ(store.GenerateSellerCode("Red Shop", "", owner + 1), "RT");
}

TEST(GenerateSellerCode, OdometerCarriesAndWraps) {
    MemoryStore store;
    AddSellerWithCode(store, "AZ");
    EXPECT_EQ(store.GenerateSellerCode("", "AZ", -1), "BA");
    AddSellerWithCode(store, "ZZ");
    EXPECT_EQ(store.GenerateSellerCode("", "ZZ", -1), "AA");
}

TEST(GenerateSellerCode, NonAsciiCharacterTurnsIntoLettersWhenCarried) {
    MemoryStore store;
    AddSellerWithCode(store, "ČZ");
    EXPECT_EQ(store.GenerateSellerCode("", "ČZ", -1), "AAA");
}

TEST(GenerateSellerCode, GrowsByALetterAfter601Advances) {
    MemoryStore store;
    for (int step = 0; step <= 600; ++step) {
        AddSellerWithCode(store, TwoLetterCode(step));
    }
    // AA .. the 601st code are all taken: the 601st advance appends "A" to the next code.
    EXPECT_EQ(store.GenerateSellerCode("", "AA", -1), TwoLetterCode(601) + "A");
}

TEST(GenerateSellerCode, GrowsAgainWhenTheLongerCodesAreTakenToo) {
    MemoryStore store;
    for (int step = 0; step <= 600; ++step) {
        AddSellerWithCode(store, TwoLetterCode(step));
    }
    AddSellerWithCode(store, TwoLetterCode(601) + "A");
    EXPECT_EQ(store.GenerateSellerCode("", "AA", -1), TwoLetterCode(601) + "B");
}

}  // namespace
