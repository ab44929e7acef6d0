#include "storage/CachedDataTextfile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "DataDirectory.h"

namespace {

using namespace Kramo;
using KramoTest::Contents;
using KramoTest::DataDirectory;
using KramoTest::Describe;
using KramoTest::MakeItem;
using KramoTest::MakeSeller;
using testing::ElementsAre;
using testing::IsEmpty;

std::vector<int32_t> ItemIdsOf(CachedDataTextfile& store, int sellerId) {
    std::vector<int32_t> ids;
    for (const Item& item : store.GetSellerItems(sellerId)) {
        ids.push_back(item.ID);
    }
    return ids;
}

// What a restart would see: every seller with its items, as the files hold them.
std::vector<std::string> ContentsAfterRestart(const DataDirectory& data) {
    CachedDataTextfile reopened(data.Path());
    return Contents(reopened);
}

TEST(CachedDataTextfile, EmptyDirectoryStartsWithSellerOne) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    EXPECT_THAT(store.GetSellers(), IsEmpty());
    EXPECT_EQ(store.GetNextSellerId(), 1);
    EXPECT_EQ(store.GetNextItemId(), 1);
    Seller seller = MakeSeller("RS", "Red Shop");
    EXPECT_EQ(store.AddSeller(seller), 1);
    EXPECT_EQ(seller.ID, 1);
    EXPECT_EQ(data.ReadFile("1-RS-Red Shop.txt"), "1*RS*Red Shop*\x7F*p*0\n");
}

TEST(CachedDataTextfile, LoadNumbersItemsInFileAndLineOrder) {
    DataDirectory data;
    data.WriteFile("3-A-a.txt", "3*A*a*x*p*1\n1*one*1.0*a*s\n2*two*2.0*a*s\n");
    data.WriteFile("7-B-b.txt", "7*B*b*x*s*1\n9*nine*9.0*b*p\n");
    CachedDataTextfile store(data.Path());
    EXPECT_EQ(store.GetNextSellerId(), 8);
    EXPECT_EQ(store.GetNextItemId(), 4);
    EXPECT_THAT(ItemIdsOf(store, 3), ElementsAre(1, 2));
    EXPECT_THAT(ItemIdsOf(store, 7), ElementsAre(3));
    EXPECT_EQ(store.GetItem(3).NAME, "nine");
    EXPECT_EQ(store.GetItem(3).SELLER_ID, 7);
    EXPECT_EQ(store.GetSellerPosition(7), 1);
    EXPECT_EQ(store.GetSellerPosition(5), -1);
    EXPECT_EQ(store.GetItemPosition(2), 1);
}

TEST(CachedDataTextfile, TwoFilesOfOneSellerShareTheItems) {
    DataDirectory data;
    data.WriteFile("5-A-first.txt", "5*A*first*x*p*1\n1*one*1.0*a*s\n");
    data.WriteFile("5-B-second.txt", "5*B*second*x*p*1\n2*two*2.0*a*s\n");
    CachedDataTextfile store(data.Path());
    EXPECT_EQ(store.GetSeller(5).NAME, "second");
    EXPECT_THAT(ItemIdsOf(store, 5), ElementsAre(1, 2));
}

TEST(CachedDataTextfile, AnyTextFileIsReadAsASellerFoldersAreNot) {
    DataDirectory data;
    data.WriteFile("notes.TXT", "2024 shopping list\nmilk\n");
    data.WriteFile("readme.md", "9*A*B*C*p*1\n");
    ASSERT_EQ(::mkdir((data.Path() + "old.txt").c_str(), 0755), 0);
    CachedDataTextfile store(data.Path());
    const std::vector<Seller> sellers = store.GetSellers();
    ASSERT_EQ(sellers.size(), 1u);
    EXPECT_EQ(Describe(sellers[0]), "2024 [] [] [] cat 11 status 0");
    EXPECT_THAT(ItemIdsOf(store, 2024), ElementsAre(1));
}

TEST(CachedDataTextfile, UnreadableFileStopsTheStart) {
    DataDirectory data;
    ASSERT_EQ(::symlink("nowhere", (data.Path() + "1-A-a.txt").c_str()), 0);
    EXPECT_THROW(CachedDataTextfile store(data.Path()), std::runtime_error);
}

TEST(CachedDataTextfile, UnknownKeysThrowAndChangeNothing) {
    DataDirectory data;
    data.WriteFile("5-A-a.txt", "5*A*a*x*p*1\n1*one*1.0*a*s\n");
    CachedDataTextfile store(data.Path());
    const std::string before = data.ReadFile("5-A-a.txt");
    Seller seller = MakeSeller("X", "x");
    Item item = MakeItem(1, "x", 1.0);
    Item movedAway = store.GetItem(1);
    movedAway.SELLER_ID = 6;
    const std::function<void()> wrongSeller[] = {
        [&] { store.GetSeller(6); },
        [&] { store.GetSellerByCode("a"); },
        [&] { store.GetSellerItems(6); },
        [&] { store.GetSellerItemByNumber(6, 1); },
        [&] { store.UpdateSeller(6, seller); },
        [&] { store.RemoveSeller(6); },
        [&] { store.AddItem(item, 6); },
        [&] { store.ModifyItem(1, movedAway); },
        [&] { store.SaveSellerFile(6); },
    };
    for (const auto& call : wrongSeller) {
        EXPECT_THROW(call(), WrongSellerException);
    }
    const std::function<void()> wrongItem[] = {
        [&] { store.GetItem(2); },
        [&] { store.ModifyItem(2, item); },
        [&] { store.RemoveItem(2); },
        [&] { store.GetItemPosition(2); },
        [&] { store.GetSellerItemByNumber(5, 2); },
    };
    for (const auto& call : wrongItem) {
        EXPECT_THROW(call(), WrongItemException);
    }
    EXPECT_EQ(item.ID, -1);
    EXPECT_EQ(store.GetNextItemId(), 2);
    EXPECT_EQ(store.GetItem(1).SELLER_ID, 5);
    EXPECT_THAT(data.FileNames(), ElementsAre("5-A-a.txt"));
    EXPECT_EQ(data.ReadFile("5-A-a.txt"), before);
}

TEST(CachedDataTextfile, LookupsByCodeAndNumber) {
    DataDirectory data;
    data.WriteFile("2-AB-b.txt", "2*AB*b*x*p*1\n4*old*1.0*a*s\n4*new*2.0*a*s\n");
    data.WriteFile("1-ab-a.txt", "1*ab*a*x*p*1\n");
    data.WriteFile("3-AB-c.txt", "3*AB*c*x*p*1\n");
    CachedDataTextfile store(data.Path());
    EXPECT_EQ(store.GetSellerByCode("AB").ID, 2);
    EXPECT_EQ(store.GetSellerByCode("ab").ID, 1);
    EXPECT_THROW(store.GetSellerByCode("Ab"), WrongSellerException);
    EXPECT_EQ(store.GetSellerItemByNumber(2, 4).NAME, "old");
    EXPECT_THROW(store.GetSellerItemByNumber(1, 4), WrongItemException);
}

TEST(CachedDataTextfile, AddedListNumbersTheItemsAndRefusesAnUnknownSeller) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    Seller seller = MakeSeller("AB", "First");
    store.AddSeller(seller);
    std::vector<Item> items = {MakeItem(1, "one", 1.0), MakeItem(2, "two", 2.0)};
    store.AddItems(items, seller.ID);
    EXPECT_EQ(items[0].ID, 1);
    EXPECT_EQ(items[1].ID, 2);
    EXPECT_EQ(items[1].SELLER_ID, seller.ID);
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));

    std::vector<Item> orphans = {MakeItem(3, "three", 3.0)};
    EXPECT_THROW(store.AddItems(orphans, 99), WrongSellerException);
    EXPECT_EQ(store.GetNextItemId(), 3);
    std::vector<Item> none;
    store.AddItems(none, seller.ID);
    EXPECT_EQ(store.GetSellerItems(seller.ID).size(), 2u);
}

TEST(CachedDataTextfile, EveryChangeIsInTheFilesAtOnce) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    Seller first = MakeSeller("AB", "First", "note");
    Seller second = MakeSeller("CD", "Second");
    store.AddSeller(first);
    store.AddSeller(second);
    std::vector<Item> items = {MakeItem(1, "one", 1.0), MakeItem(2, "two", 2.5, 2),
                               MakeItem(3, "three", 3.0)};
    store.AddItems(items, first.ID);
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));

    Item two = store.GetItem(items[1].ID);
    two.STATUS = Sold;
    two.PRICE = 4.5;
    store.ModifyItem(two.ID, two);
    store.RemoveItem(items[0].ID);
    first.COMMENT = "";
    first.STATUS = HandedBack;
    store.UpdateSeller(first.ID, first);
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));

    Item gone = MakeItem(1, "gone", 1.0);
    store.AddItem(gone, second.ID);
    // A purchase over two sellers, sold and taken back (storno).
    store.SetItemsStatus({items[2].ID, gone.ID}, Sold);
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));
    store.CancelSale({items[2].ID, gone.ID});
    EXPECT_EQ(store.GetItem(gone.ID).STATUS, InStock);
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));
    EXPECT_THROW(store.SetItemsStatus({items[2].ID, 999}, Sold), WrongItemException);
    EXPECT_EQ(store.GetItem(items[2].ID).STATUS, InStock);
    store.RemoveSeller(second.ID);
    EXPECT_THROW(store.GetItem(gone.ID), WrongItemException);
    EXPECT_THAT(data.FileNames(), ElementsAre("1-AB-First.txt"));
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));
}

TEST(CachedDataTextfile, ItemMovedToAnotherSellerIsStoredOnce) {
    DataDirectory data;
    data.WriteFile("5-A-a.txt", "5*A*a*x*p*1\n1*one*1.0*a*s\n2*two*2.0*a*s\n");
    data.WriteFile("6-B-b.txt", "6*B*b*x*p*1\n");
    CachedDataTextfile store(data.Path());
    Item moved = store.GetItem(1);
    moved.SELLER_ID = 6;
    store.ModifyItem(1, moved);
    EXPECT_THAT(ItemIdsOf(store, 5), ElementsAre(2));
    EXPECT_THAT(ItemIdsOf(store, 6), ElementsAre(1));
    EXPECT_EQ(data.ReadFile("5-A-a.txt"), "5*A*a*x*p*1\n2*two*2.0*a*s\n");
    EXPECT_EQ(data.ReadFile("6-B-b.txt"), "6*B*b*x*p*1\n1*one*1.0*a*s\n");
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));
}

TEST(CachedDataTextfile, NextIdsFollowTheLargestEvenAfterRemovals) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    Seller seller = MakeSeller("A", "a");
    store.AddSeller(seller);
    Item item = MakeItem(1, "x", 1.0);
    store.AddItem(item, seller.ID);
    Item last = MakeItem(2, "y", 1.0);
    store.AddItem(last, seller.ID);
    store.RemoveItem(item.ID);
    EXPECT_EQ(store.GetNextItemId(), 3);
    store.RemoveItem(last.ID);
    EXPECT_EQ(store.GetNextItemId(), 1);
    Seller other = MakeSeller("B", "b");
    store.AddSeller(other);
    store.RemoveSeller(other.ID);
    EXPECT_EQ(store.GetNextSellerId(), 2);
}

TEST(CachedDataTextfile, RecordsReadBackEqual) {
    DataDirectory data;
    const Seller sellers[] = {
        MakeSeller("AB", "Žofia Čierna-Ďurišová", "", 12, Selling),
        MakeSeller("\"Q\"", "O'Neil \"Big\" Shop", "comment with ąęß €", 13, HandedBack),
        MakeSeller("", "", "", 11, NotSelling),
        MakeSeller("X*Y", "Star*Name|Pipe", "a|b*c", 11, Selling),
    };
    const Item items[] = {
        MakeItem(1, "Modrá bunda", 12.5, 2, InStock),
        MakeItem(2, "", 0.0, 1, Unassigned),
        MakeItem(-3, "„quoted“ *star*", 1234567.8, 2, Gift),
        MakeItem(4, " leading and trailing ", 0.3, 1, ToTrace),
        MakeItem(5, "x", 99.9, 1, Returned),
        MakeItem(6, "y", 1.0, 1, Sold),
    };
    {
        CachedDataTextfile store(data.Path());
        for (Seller seller : sellers) {
            store.AddSeller(seller);
            for (Item item : items) {
                store.AddItem(item, seller.ID);
            }
        }
    }
    std::vector<std::string> expected;
    for (std::size_t s = 0; s < std::size(sellers); ++s) {
        Seller seller = sellers[s];
        seller.ID = static_cast<int32_t>(s + 1);
        // Separators cannot stand in the text, they come back as '_'.
        for (std::string* text : {&seller.SHORT_CODE, &seller.NAME, &seller.COMMENT}) {
            std::replace_if(
                text->begin(), text->end(), [](char c) { return c == '*' || c == '|'; }, '_');
        }
        expected.push_back(Describe(seller));
        for (Item item : items) {
            std::replace(item.NAME.begin(), item.NAME.end(), '*', '_');
            item.SELLER_ID = seller.ID;
            expected.push_back("  " + Describe(item));
        }
    }
    EXPECT_EQ(ContentsAfterRestart(data), expected);
}

}  // namespace

namespace {

// The seller's file is written once with its items, so a crash cannot leave the seller alone.
TEST(CachedDataTextfile, SellerWithItemsComesInOneFile) {
    DataDirectory data;
    data.WriteFile("2-B-b.txt", "2*B*b*x*p*1\n1*one*1.0*a*s\n");
    CachedDataTextfile store(data.Path());
    Seller seller = MakeSeller("RS", "Red Shop");
    std::vector<Item> items = {MakeItem(1, "Kočík", 12.5), MakeItem(2, "Sánky", 3.0)};
    EXPECT_EQ(store.AddSellerWithItems(seller, items), 3);
    EXPECT_EQ(seller.ID, 3);
    EXPECT_EQ(items[0].ID, 2);
    EXPECT_EQ(items[1].SELLER_ID, 3);
    EXPECT_EQ(data.ReadFile("3-RS-Red Shop.txt"),
              "3*RS*Red Shop*\x7F*p*0\n1*Kočík*12.5*a*s\n2*Sánky*3.0*a*s\n");
    CachedDataTextfile reopened(data.Path());
    EXPECT_EQ(reopened.GetSellerItems(3).size(), 2u);
    EXPECT_EQ(reopened.GetSellerItemByNumber(3, 2).NAME, "Sánky");
}

}  // namespace
