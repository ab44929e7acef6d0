#include "storage/CachedDataTextfile.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>

#include "DataDirectory.h"
#include "common/LogCapture.h"
#include "common/SmallDisk.h"
#include "common/TemporaryDirectory.h"
#include "storage/DataBackup.h"
#include "support/FormatText.h"

namespace {

using namespace Kramo;
using KramoTest::Contents;
using KramoTest::DataDirectory;
using KramoTest::Describe;
using KramoTest::MakeItem;
using KramoTest::MakeSeller;
using testing::ElementsAre;
using testing::HasSubstr;
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

// Sets a file's modification time, seconds after an arbitrary moment.
void SetWritten(const DataDirectory& data, const std::string& name, long seconds) {
    const timespec times[2] = {{1700000000 + seconds, 0}, {1700000000 + seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (data.Path() + name).c_str(), times, 0), 0) << name;
}

// A crash between renaming a seller's new file into place and removing the former one, or a
// backup copy in the folder, leaves two files with one ID: the one written last counts, the
// others are set aside whole, never merged.
TEST(CachedDataTextfile, SecondFileOfOneSellerIsSetAsideNeverMerged) {
    struct Case {
        const char* why;
        std::vector<std::pair<std::string, long>> files;  // name and when it was written
        std::string kept;
        std::vector<std::string> setAside;  // in name order
    };
    const Case cases[] = {
        {"the newer under the former name",
         {{"5-A-new.txt", 20}, {"5-A-old.txt", 10}},
         "5-A-new.txt",
         {"5-A-old.txt"}},
        {"the newer under the later name",
         {{"5-A-a.txt", 10}, {"5-A-b.txt", 20}},
         "5-A-b.txt",
         {"5-A-a.txt"}},
        {"a copy of the same moment, made after it: the file under its own name counts",
         {{"5-A-a.txt", 10}, {"5-A-a - kópia.txt", 10}},
         "5-A-a.txt",
         {"5-A-a - kópia.txt"}},
        {"three files",
         {{"5-A-a.txt", 30}, {"5-A-b.txt", 10}, {"5-A-c.txt", 20}},
         "5-A-a.txt",
         {"5-A-b.txt", "5-A-c.txt"}},
    };
    for (const Case& c : cases) {
        DataDirectory data;
        data.WriteFile("6-B-b.txt", "6*B*b*x*p*1\n1*one*1.0*a*s\n");
        for (const auto& [name, written] : c.files) {
            // One seller in every file, as after a crash or a copy; the item tells the file.
            const std::string sellerName = c.kept.substr(4, c.kept.size() - 8);
            data.WriteFile(name, "5*A*" + sellerName + "*x*p*1\n1*" + name + "*1.0*a*s\n");
            SetWritten(data, name, written);
        }
        CachedDataTextfile store(data.Path());
        ASSERT_EQ(store.GetSellerItems(5).size(), 1u) << c.why;
        EXPECT_EQ(store.GetSellerItems(5)[0].NAME, c.kept) << c.why;
        EXPECT_EQ(store.GetSellerItems(6).size(), 1u) << c.why;
        EXPECT_THAT(data.FileNames(), ElementsAre(c.kept, "6-B-b.txt", "kramo.lock", "odlozene"))
            << c.why;
        ASSERT_EQ(store.LoadReport().size(), c.setAside.size()) << c.why;
        for (std::size_t i = 0; i < c.setAside.size(); ++i) {
            const std::string& name = c.setAside[i];
            EXPECT_THAT(data.ReadFile("odlozene/" + name), HasSubstr("1*" + name + "*")) << c.why;
            EXPECT_THAT(store.LoadReport()[i], HasSubstr("„" + c.kept + "“")) << c.why;
            EXPECT_THAT(store.LoadReport()[i], HasSubstr("„" + name + "“")) << c.why;
        }
    }
}

TEST(CachedDataTextfile, SetAsideFileNeverReplacesOneSetAsideBefore) {
    DataDirectory data;
    ASSERT_EQ(::mkdir((data.Path() + "odlozene").c_str(), 0755), 0);
    data.WriteFile("odlozene/5-A-a.txt", "earlier\n");
    data.WriteFile("5-A-a.txt", "5*A*a*x*p*1\n");
    data.WriteFile("5-A-b.txt", "5*A*b*x*p*1\n");
    SetWritten(data, "5-A-a.txt", 10);
    CachedDataTextfile store(data.Path());
    EXPECT_EQ(store.GetSeller(5).NAME, "b");
    EXPECT_EQ(data.ReadFile("odlozene/5-A-a.txt"), "earlier\n");
    EXPECT_EQ(data.ReadFile("odlozene/5-A-a (2).txt"), "5*A*a*x*p*1\n");
    ASSERT_EQ(store.LoadReport().size(), 1u);
    EXPECT_EQ(store.LoadReport()[0],
              "Predajca 5 má viac súborov: platí novší „5-A-b.txt“, starší „5-A-a.txt“ je "
              "odložený v priečinku „odlozene“ ako „5-A-a (2).txt“.");
}

TEST(CachedDataTextfile, AnyTextFileIsReadAsASeller) {
    DataDirectory data;
    data.WriteFile("notes.TXT", "2024 shopping list\nmilk\n");
    data.WriteFile("readme.md", "9*A*B*C*p*1\n");
    CachedDataTextfile store(data.Path());
    const std::vector<Seller> sellers = store.GetSellers();
    ASSERT_EQ(sellers.size(), 1u);
    EXPECT_EQ(Describe(sellers[0]), "2024 [] [] [] cat 11 status 0");
    EXPECT_THAT(ItemIdsOf(store, 2024), ElementsAre(1));
    EXPECT_THAT(store.LoadReport(), IsEmpty());
}

// Reading them could hang the start (a pipe), never end (a device) or stop it (no file):
// each is skipped, named, and left as it is; the other sellers load.
TEST(CachedDataTextfile, WhatIsNoRegularFileOrCannotBeReadIsSkippedAndNamed) {
    DataDirectory data;
    KramoTest::LogCapture log;
    data.WriteFile("1-A-a.txt", "1*A*a*x*p*1\n1*one*1.0*a*s\n");
    const std::string path = data.Path();
    ASSERT_EQ(::mkfifo((path + "2-B-pipe.txt").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", (path + "3-C-device.txt").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (path + "4-D-dangling.txt").c_str()), 0);
    ASSERT_EQ(::symlink("5-E-loop.txt", (path + "5-E-loop.txt").c_str()), 0);
    ASSERT_EQ(::mkdir((path + "6-F-folder.txt").c_str(), 0755), 0);
    CachedDataTextfile store(path);
    EXPECT_EQ(Contents(store), (std::vector<std::string>{"1 [A] [a] [x] cat 11 status 1",
                                                         "  seller 1 #1 [one] 1 cat 1 status 1"}));
    EXPECT_THAT(store.LoadReport(),
                ElementsAre("„2-B-pipe.txt“ nie je obyčajný súbor, nenačítal sa.",
                            "„3-C-device.txt“ nie je obyčajný súbor, nenačítal sa.",
                            "„4-D-dangling.txt“ sa nedá prečítať, nenačítal sa.",
                            "„5-E-loop.txt“ sa nedá prečítať, nenačítal sa.",
                            "„6-F-folder.txt“ nie je obyčajný súbor, nenačítal sa."));
    for (const char* name :
         {"2-B-pipe.txt", "3-C-device.txt", "4-D-dangling.txt", "5-E-loop.txt", "6-F-folder.txt"}) {
        EXPECT_THAT(log.Text(), HasSubstr("Skipping '" + path + name)) << name;
    }
    EXPECT_EQ(data.FileNames().size(), 7u);  // all left as they were, and the lock file
}

// Seller IDs go up to one below the largest number, so that the next ID never overflows: two
// new sellers never share one ID, and never replace each other's file.
TEST(CachedDataTextfile, HeaderIdOutOfRangeIsSkippedAndTheNextIdNeverOverflows) {
    DataDirectory data;
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"1-A-max.txt", "2147483647*A*max*x*p*1\n1*one*1.0*a*s\n"},
        {"2-B-huge.txt", "99999999999*B*huge*x*p*1\n"},
        {"3-C-zero.txt", "0*C*zero*x*p*1\n"},
        {"4-D-negative.txt", "-7*D*negative*x*p*1\n"},
        {"5-E-none.txt", "abc\n"},
    };
    for (const auto& [name, content] : refused) {
        data.WriteFile(name, content);
    }
    data.WriteFile("6-F-largest.txt", "2147483646*F*largest*x*p*1\n1*one*1.0*a*s\n");
    data.WriteFile("7-G-first.txt", "1*G*first*x*p*1\n");
    CachedDataTextfile store(data.Path());
    EXPECT_EQ(store.GetSellers().size(), 2u);
    ASSERT_EQ(store.LoadReport().size(), refused.size());
    EXPECT_EQ(store.LoadReport()[0],
              "„1-A-max.txt“ má v hlavičke neplatné číslo predajcu (2147483647), nenačítal sa "
              "a zostal nezmenený.");
    Seller one = MakeSeller("H", "one");
    Seller two = MakeSeller("I", "two");
    store.AddSeller(one);
    store.AddSeller(two);
    EXPECT_EQ(one.ID, 2);
    EXPECT_EQ(two.ID, 3);
    for (const auto& [name, content] : refused) {
        EXPECT_EQ(data.ReadFile(name), content) << name;
    }
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));
}

// A killed write leaves its temporary file; the next start removes it, and nothing else.
TEST(CachedDataTextfile, TemporaryFilesOfCutWritesAreRemovedAtStart) {
    DataDirectory data;
    for (const char* name : {"3.tmp.aB3dE9", "3.tmp", "notes.tmp.aB3dE9", "3.tmp.long123"}) {
        data.WriteFile(name, "3*A*a*x*p*1\n");
    }
    CachedDataTextfile store(data.Path());
    EXPECT_THAT(data.FileNames(), ElementsAre("3.tmp.long123", "kramo.lock", "notes.tmp.aB3dE9"));
    EXPECT_THAT(store.GetSellers(), IsEmpty());
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
    EXPECT_THAT(data.FileNames(), ElementsAre("5-A-a.txt", "kramo.lock"));
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
    SaleRecord sale;
    sale.itemIds = {items[2].ID, gone.ID};
    store.CancelSale(sale);
    EXPECT_EQ(store.GetItem(gone.ID).STATUS, InStock);
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));
    EXPECT_THROW(store.SetItemsStatus({items[2].ID, 999}, Sold), WrongItemException);
    EXPECT_EQ(store.GetItem(items[2].ID).STATUS, InStock);
    store.RemoveSeller(second.ID);
    EXPECT_THROW(store.GetItem(gone.ID), WrongItemException);
    EXPECT_THAT(data.FileNames(), ElementsAre("1-AB-First.txt", "kramo.lock"));
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
    EXPECT_EQ(data.ReadFile("5-A-a.txt"), "5*A*a*x*p*1\n2*two*2.00*a*s\n");
    EXPECT_EQ(data.ReadFile("6-B-b.txt"), "6*B*b*x*p*1\n1*one*1.00*a*s\n");
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
              "3*RS*Red Shop*\x7F*p*0\n1*Kočík*12.50*a*s\n2*Sánky*3.00*a*s\n");
    CachedDataTextfile reopened(data.Path());
    EXPECT_EQ(reopened.GetSellerItems(3).size(), 2u);
    EXPECT_EQ(reopened.GetSellerItemByNumber(3, 2).NAME, "Sánky");
}

}  // namespace

// The record of sales as the store gives it, one text per sale.
std::vector<std::string> SalesOf(CachedDataTextfile& store) {
    std::vector<std::string> sales;
    for (const RecordedSale& sale : store.GetRecordedSales()) {
        sales.push_back(FormatText("%s %s %i %0.2f forced %i %0.2f%s", sale.key.c_str(),
                                   sale.desk.c_str(), sale.itemCount, sale.total, sale.forcedCount,
                                   sale.forcedTotal, sale.cancelled ? " storno" : ""));
    }
    return sales;
}

SaleRecord Sale(const std::string& key, std::vector<int> itemIds, std::vector<int> forced = {}) {
    SaleRecord sale;
    sale.key = key;
    sale.desk = "Pokladňa 1";
    sale.itemIds = std::move(itemIds);
    sale.forcedItemIds = std::move(forced);
    return sale;
}

TEST(CachedDataTextfile, SalesAreRecordedOnceAndReadBackAfterARestart) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    Seller seller = MakeSeller("AB", "Anna");
    store.AddSeller(seller);
    std::vector<Item> items = {MakeItem(1, "a", 10.0), MakeItem(2, "b", 2.5),
                               MakeItem(3, "c", 4.0, 1, Sold), MakeItem(4, "d", 5.0)};
    store.AddItems(items, seller.ID);
    const int a = items[0].ID, b = items[1].ID, c = items[2].ID, d = items[3].ID;

    store.StoreSale(Sale("a1", {a, b}));
    // A retry of a sale whose outcome was unknown: done already, nothing changes.
    store.SetItemsStatus({a}, InStock);
    store.StoreSale(Sale("a1", {a, b}));
    EXPECT_EQ(store.GetItem(a).STATUS, InStock);
    store.SetItemsStatus({a}, Sold);
    // Not in stock, or gone: refused whole.
    try {
        store.StoreSale(Sale("b2", {d, c, 999}));
        ADD_FAILURE() << "sold what is not in stock";
    } catch (const ItemsNotInStockException& refusal) {
        EXPECT_THAT(refusal.ItemIds(), ElementsAre(c, 999));
    }
    EXPECT_EQ(store.GetItem(d).STATUS, InStock);
    store.StoreSale(Sale("c3", {c, d}, {c}));
    EXPECT_EQ(store.GetItem(d).STATUS, Sold);
    store.CancelSale(Sale("a1", {a, b}));
    EXPECT_EQ(store.GetItem(b).STATUS, InStock);

    const std::vector<std::string> expected = {"a1 Pokladňa 1 2 12.50 forced 0 0.00 storno",
                                               "c3 Pokladňa 1 2 9.00 forced 1 4.00"};
    EXPECT_EQ(SalesOf(store), expected);
    CachedDataTextfile reopened(data.Path());
    EXPECT_EQ(SalesOf(reopened), expected);
    EXPECT_EQ(Contents(reopened), Contents(store));
    // Never taken for a seller file.
    EXPECT_THAT(reopened.LoadReport(), IsEmpty());
    EXPECT_THAT(data.FileNames(), ElementsAre("1-AB-Anna.txt", "kramo-predaje.csv", "kramo.lock"));
}

TEST(CachedDataTextfile, DamagedRecordOfSalesLinesAreSkipped) {
    KramoTest::LogCapture log;
    DataDirectory data;
    data.WriteFile("kramo-predaje.csv",
                   "druh;kluc;pokladna;cas;kusov;suma;kusov_bez_skladu;suma_bez_skladu\n"
                   "predaj;a1;P1;2026-05-02 09:15:00;2;12.50;0;0.00\n"
                   "predaj;a1;P1;2026-05-02 09:16:00;2;12.50;0;0.00\n"  // the same sale again
                   "predaj;b2;P1;2026-13-02 09:15:00;1;1.00;0;0.00\n"
                   "predaj;b3;P1;2026-05-02 09:15:00;-1;1.00;0;0.00\n"
                   "predaj;b4;P1;2026-05-02 09:15:00;1;nan;0;0.00\n"
                   "predaj;x y;P1;2026-05-02 09:15:00;1;1.00;0;0.00\n"
                   "predaj;b5;P1;2026-05-02 09:15:00;1\n"
                   "storno;ff;P1;2026-05-02 09:15:00;1;1.00;0;0.00\n"
                   "\x01\xff garbage\n"
                   "predaj;c6;P1;2026-05-02 10:00:00;3;7.00;1;1.00\n"
                   "predaj;d7;P1;2026-05-02 10:0");  // cut by a crash
    CachedDataTextfile store(data.Path());
    EXPECT_THAT(SalesOf(store),
                ElementsAre("a1 P1 2 12.50 forced 0 0.00", "c6 P1 3 7.00 forced 1 1.00"));
    EXPECT_THAT(log.Text(), HasSubstr("line 4 cannot be read"));
    EXPECT_THAT(log.Text(), HasSubstr("unfinished last line 12"));

    // The next sale starts a line of its own.
    Seller seller = MakeSeller("AB", "Anna");
    store.AddSeller(seller);
    Item item = MakeItem(1, "a", 3.0);
    store.AddItem(item, seller.ID);
    store.StoreSale(Sale("e8", {item.ID}));
    CachedDataTextfile reopened(data.Path());
    EXPECT_THAT(SalesOf(reopened),
                ElementsAre("a1 P1 2 12.50 forced 0 0.00", "c6 P1 3 7.00 forced 1 1.00",
                            "e8 Pokladňa 1 1 3.00 forced 0 0.00"));
}

TEST(CachedDataTextfile, SaleThatCannotBeRecordedLeavesItsItemsAsTheyWere) {
    KramoTest::LogCapture log;
    DataDirectory data;
    ASSERT_EQ(::mkdir((data.Path() + "kramo-predaje.csv").c_str(), 0755), 0);
    CachedDataTextfile store(data.Path());
    Seller seller = MakeSeller("AB", "Anna");
    store.AddSeller(seller);
    std::vector<Item> items = {MakeItem(1, "a", 1.0), MakeItem(2, "b", 2.0, 1, Returned)};
    store.AddItems(items, seller.ID);
    EXPECT_THROW(store.StoreSale(Sale("a1", {items[0].ID, items[1].ID}, {items[1].ID})),
                 std::runtime_error);
    EXPECT_EQ(store.GetItem(items[0].ID).STATUS, InStock);
    EXPECT_EQ(store.GetItem(items[1].ID).STATUS, Returned);
    EXPECT_EQ(ContentsAfterRestart(data), Contents(store));
    EXPECT_THAT(store.GetRecordedSales(), IsEmpty());
}

TEST(CachedDataTextfile, BackupTakenDuringTheSaleOpensAsTheSameStore) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    Seller seller = MakeSeller("AB", "Anna");
    store.AddSeller(seller);
    Seller other = MakeSeller("CD", "Cyril", "", 11, Selling);
    store.AddSeller(other);
    std::vector<Item> items = {MakeItem(1, "Sánky", 10.0), MakeItem(2, "b", 2.5)};
    store.AddItems(items, seller.ID);
    store.StoreSale(Sale("a1", {items[0].ID}));
    data.WriteFile("kramo.glade", "<glade-interface/>");
    data.WriteFile("2.tmp.Ab12cd", "half");  // a seller file being replaced right now

    KramoTest::TemporaryDirectory target;
    const std::string zip = target.File("Zaloha_26-05-02_09-15.zip");
    DataBackup::Read(data.Path()).WriteTo(zip);
    EXPECT_THAT(KramoTest::EntriesOf(target.Path()), ElementsAre("Zaloha_26-05-02_09-15.zip"));

    const std::string restored = target.File("data");
    ASSERT_EQ(std::system(("unzip -q '" + zip + "' -d '" + restored + "'").c_str()), 0);
    EXPECT_THAT(KramoTest::EntriesOf(restored),
                ElementsAre("1-AB-Anna.txt", "2-CD-Cyril.txt", "kramo-predaje.csv"));
    CachedDataTextfile reopened(restored + "/");
    EXPECT_EQ(Contents(reopened), Contents(store));
    EXPECT_EQ(SalesOf(reopened), SalesOf(store));
    EXPECT_THAT(reopened.LoadReport(), IsEmpty());
}

TEST(CachedDataTextfile, OnlyOldBackupsArePrunedAndAFailedBackupLeavesNothing) {
    KramoTest::TemporaryDirectory folder;
    for (const char* name : {"Zaloha_26-05-02_09-20.zip", "Zaloha_26-05-02_09-00.zip",
                             "Zaloha_26-05-02_09-10.zip", "Zaloha_poznamky.txt", "ine.zip"}) {
        folder.WriteFile(name, "x");
    }
    EXPECT_THAT(DataBackup::Prune(folder.Path() + "/", 0), IsEmpty());
    EXPECT_THAT(DataBackup::Prune(folder.Path() + "/", 2),
                ElementsAre("Zaloha_26-05-02_09-00.zip"));
    EXPECT_THAT(KramoTest::EntriesOf(folder.Path()),
                ElementsAre("Zaloha_26-05-02_09-10.zip", "Zaloha_26-05-02_09-20.zip",
                            "Zaloha_poznamky.txt", "ine.zip"));

    DataDirectory data;
    // Random bytes, which packing cannot make smaller than the free space.
    std::mt19937 random(7);
    std::string noise(64 * 1024, ' ');
    std::generate(noise.begin(), noise.end(), [&random] { return static_cast<char>(random()); });
    data.WriteFile("1-AB-Anna.txt", noise);
    const DataBackup backup = DataBackup::Read(data.Path());
    KramoTest::SmallDisk disk;
    disk.FillLeaving(8 * 1024);
    try {
        backup.WriteTo(disk.File("Zaloha_26-05-02_09-30.zip"));
        ADD_FAILURE() << "a backup larger than the free space was written";
    } catch (const DataBackupException& failure) {
        EXPECT_EQ(failure.FailedStep(), DataBackupException::Step::Writing);
    }
    EXPECT_THAT(KramoTest::EntriesOf(disk.Path()), ElementsAre(".filler"));
}
