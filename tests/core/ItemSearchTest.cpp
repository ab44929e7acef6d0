#include "core/ItemSearch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "MemoryStore.h"

namespace {

using Kramo::Item;
using Kramo::ItemSearch;
using KramoTest::MemoryStore;
using testing::ElementsAre;
using testing::IsEmpty;

class ItemSearchTest : public testing::Test {
  protected:
    int AddSeller(const std::string& code) {
        Kramo::Seller seller;
        seller.SHORT_CODE = code;
        seller.NAME = code;
        return store_.AddSeller(seller);
    }

    void AddItem(int sellerId, const std::string& name, double price = 1.0) {
        Item item;
        item.NAME = name;
        item.PRICE = price;
        item.NUMBER = ++number_;
        store_.AddItem(item, sellerId);
    }

    std::vector<std::string> Find(const std::string& query) const {
        std::vector<std::string> names;
        for (const Item& item : search_.FindItems(query)) {
            names.push_back(item.NAME);
        }
        return names;
    }

    MemoryStore store_;
    std::vector<std::string> failures_;
    ItemSearch search_{
        [this]() -> Kramo::DataAccessInterface& { return store_; },
        [this](const std::exception& failure) { failures_.push_back(failure.what()); }};
    int number_ = 0;
};

TEST_F(ItemSearchTest, FindsByWordsOfTheSearchFormAndByPrice) {
    const int anna = AddSeller("AN");
    AddItem(anna, "Čierna bunda", 12.5);
    AddItem(anna, "Modrá bunda", 8);
    AddItem(anna, "Modrý šál", 3);
    AddItem(anna, "abc", 2);
    search_.FetchLatestData();

    struct Case {
        const char* query;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"abc", {}},                                      // three bytes are too few
        {"abc ", {"abc"}},                                // four are enough
        {"ČIERNA", {"cierna bunda"}},                     // both sides lose accents and case
        {"modra bunda", {"modra bunda"}},                 // both words beat one
        {"modr   zelena", {"modra bunda", "modry sal"}},  // runs of blanks split once
        {"12.50", {"cierna bunda"}},                      // the price as "%0.2f"
        {"bunda 8.00", {"modra bunda"}},
        {"zelena", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Find(c.query), c.names) << c.query;
    }
    EXPECT_THAT(failures_, IsEmpty());
}

TEST_F(ItemSearchTest, HitsKeepSnapshotOrderAndTheirSellers) {
    const int second = AddSeller("B");
    const int first = AddSeller("A");
    AddItem(second, "kabát pánsky");
    AddItem(first, "kabát dámsky");
    search_.FetchLatestData();
    const std::vector<Item> hits = search_.FindItems("kabat");
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(search_.SellerOf(hits[0].SELLER_ID)->SHORT_CODE, "B");
    EXPECT_EQ(search_.SellerOf(hits[1].SELLER_ID)->SHORT_CODE, "A");
    EXPECT_EQ(search_.SellerOf(999), nullptr);
}

TEST_F(ItemSearchTest, SearchFormKeepsTheBlanksOfTheName) {
    const int seller = AddSeller("A");
    AddItem(seller, " Čierna  BUNDA Čierna ");
    AddItem(seller, "");
    search_.FetchLatestData();
    EXPECT_THAT(Find("bunda"), ElementsAre(" cierna  bunda cierna "));
    EXPECT_THAT(Find(" 1.00"), ElementsAre(" cierna  bunda cierna ", ""));
}

TEST_F(ItemSearchTest, AWordGivenTwiceCountsTwiceAndFourIsTheTop) {
    const int seller = AddSeller("A");
    AddItem(seller, "a b c d e f");
    AddItem(seller, "a b c d x y");
    AddItem(seller, "a b c q r s");
    search_.FetchLatestData();
    // Six words: four and six matches land in the same top bucket.
    EXPECT_THAT(Find("a b c d e f"), ElementsAre("a b c d e f", "a b c d x y"));
    // "q" given twice counts twice: the third item leads with three.
    EXPECT_THAT(Find("q q a"), ElementsAre("a b c q r s"));
}

TEST_F(ItemSearchTest, AHitNeverSpansTwoItems) {
    const int seller = AddSeller("A");
    AddItem(seller, "kolobeh", 1);
    AddItem(seller, "zka", 1);
    search_.FetchLatestData();
    EXPECT_THAT(Find("1.00zk"), IsEmpty());
    EXPECT_THAT(Find("00 zka"), ElementsAre("zka"));
}

TEST_F(ItemSearchTest, StopsAfterSixtyOneFullMatches) {
    const int seller = AddSeller("A");
    AddItem(seller, "hracka auto");  // one word only: a lower bucket
    for (int i = 0; i < 100; ++i) {
        AddItem(seller, "hracka lopta " + std::to_string(i));
    }
    search_.FetchLatestData();
    const std::vector<std::string> names = Find("hracka lopta");
    ASSERT_EQ(names.size(), ItemSearch::MaximumHits);
    EXPECT_EQ(names.front(), "hracka lopta 0");
    EXPECT_EQ(names.back(), "hracka lopta 60");
    EXPECT_THAT(Find("hracka auto"), ElementsAre("hracka auto"));
    // No item holds both words: the single matches, cut to the first 61.
    const std::vector<std::string> single = Find("hracka kocik");
    ASSERT_EQ(single.size(), ItemSearch::MaximumHits);
    EXPECT_EQ(single.back(), "hracka lopta 59");
}

// Another desk changed the store: the snapshot follows record by record, reading only what
// the changes name.
TEST_F(ItemSearchTest, ChangesOfOtherDesksUpdateTheSnapshotRecordByRecord) {
    using Kramo::StoreChange;
    const int anna = AddSeller("AN");
    const int boris = AddSeller("BO");
    AddItem(anna, "Modrá bunda");    // 1
    AddItem(anna, "Čierna bunda");   // 2
    AddItem(boris, "Zelená bunda");  // 3
    // Before the first refresh nothing is read: the refresh reads everything anyway.
    search_.ApplyChanges({{StoreChange::Record::Item, 1, anna, false}});
    EXPECT_THAT(Find("bunda"), IsEmpty());
    search_.FetchLatestData();

    Item sold = store_.GetItem(1);
    sold.STATUS = Kramo::Sold;
    store_.ModifyItem(1, sold);
    Item renamed = store_.GetItem(2);
    renamed.NAME = "Biela bunda";
    store_.ModifyItem(2, renamed);
    AddItem(anna, "Nová bunda");  // 4
    store_.RemoveSeller(boris);
    AddItem(anna, "Tichá bunda");  // 5, added without a notice
    search_.ApplyChanges({{StoreChange::Record::Item, 1, anna, false},
                          {StoreChange::Record::Item, 2, anna, false},
                          {StoreChange::Record::Item, 4, anna, false},
                          {StoreChange::Record::Item, 2, anna, false},
                          {StoreChange::Record::Seller, boris, boris, true}});
    EXPECT_THAT(Find("bunda"), ElementsAre("modra bunda", "biela bunda", "nova bunda"));
    EXPECT_EQ(search_.FindItems("modra bunda").front().STATUS, Kramo::Sold);
    EXPECT_THAT(Find("cierna"), IsEmpty());
    EXPECT_EQ(search_.SellerOf(boris), nullptr);

    // A record gone again before it is read leaves the snapshot all the same.
    store_.RemoveItem(1);
    search_.ApplyChanges({{StoreChange::Record::Item, 1, anna, false}});
    EXPECT_THAT(Find("bunda"), ElementsAre("biela bunda", "nova bunda"));

    search_.ApplyChanges({StoreChange::Everything()});
    EXPECT_THAT(Find("bunda"), ElementsAre("biela bunda", "nova bunda", "ticha bunda"));
    EXPECT_THAT(failures_, IsEmpty());
}

class FailingStore : public MemoryStore {
  public:
    std::vector<Item> GetSellerItems(int sellerId) override {
        if (sellerId == failingSeller) {
            throw Kramo::WrongSellerException();
        }
        return MemoryStore::GetSellerItems(sellerId);
    }
    int failingSeller = -1;
};

TEST(ItemSearchFailure, ReportsAndKeepsWhatWasReadBefore) {
    FailingStore store;
    Kramo::Seller seller;
    seller.SHORT_CODE = "A";
    const int first = store.AddSeller(seller);
    seller.SHORT_CODE = "B";
    store.failingSeller = store.AddSeller(seller);
    Item item;
    item.NAME = "Sánky";
    store.AddItem(item, first);

    std::vector<std::string> failures;
    ItemSearch search(
        [&store]() -> Kramo::DataAccessInterface& { return store; },
        [&failures](const std::exception& failure) { failures.push_back(failure.what()); });
    search.FetchLatestData();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], Kramo::WrongSellerException().what());
    EXPECT_EQ(search.FindItems("sanky").size(), 1u);
    EXPECT_EQ(search.Sellers().size(), 2u);

    ItemSearch noStore(
        []() -> Kramo::DataAccessInterface& { throw 7; },
        [&failures](const std::exception& failure) { failures.push_back(failure.what()); });
    noStore.FetchLatestData();
    EXPECT_EQ(failures.back(), "ItemSearch::FetchLatestData");
}

}  // namespace
