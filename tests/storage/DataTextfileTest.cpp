#include "storage/DataTextfile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <stdexcept>

#include "DataDirectory.h"
#include "core/TextLimits.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;
using KramoTest::DataDirectory;
using KramoTest::Describe;
using KramoTest::MakeItem;
using KramoTest::MakeSeller;
using testing::ElementsAre;
using testing::IsEmpty;

const std::string ExampleHeader = "12*AB*Some Name*call after five*p*1\n";
// As older versions wrote it, with one decimal place.
const std::string ExampleFile = ExampleHeader + "1*Blue jacket*5.0*a*s\n2*Boots*12.5*b*p\n";
const std::string WrittenItems = "1*Blue jacket*5.00*a*s\n2*Boots*12.50*b*p\n";

template <typename Category>
std::vector<int32_t> IdsOf(const std::vector<Category>& categories) {
    std::vector<int32_t> ids;
    for (const Category& category : categories) {
        ids.push_back(category.ID);
    }
    return ids;
}

TEST(DataTextfile, WritesTheSellerFileByteForByte) {
    DataDirectory data;
    data.WriteFile("12-AB-Some Name.txt", ExampleHeader);
    CachedDataTextfile store(data.Path());
    Item jacket = MakeItem(1, "Blue jacket", 5.0, 1, InStock);
    Item boots = MakeItem(2, "Boots", 12.5, 2, Sold);
    store.AddItem(jacket, 12);
    store.AddItem(boots, 12);
    EXPECT_EQ(data.ReadFile("12-AB-Some Name.txt"), ExampleHeader + WrittenItems);
    EXPECT_THAT(data.FileNames(), ElementsAre("12-AB-Some Name.txt", "kramo.lock"));
}

TEST(DataTextfile, WritesSeparatorsAsUnderscoresAndMarksEmptyFields) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    Seller seller = MakeSeller("A*B", "Jano|*Mrkva\r\n", "", 99, 2);
    store.AddSeller(seller);
    const Item items[] = {
        MakeItem(1, "a*b|c", 12.25, 2, Returned),  // cents stay
        MakeItem(2, "", 0.05, 99, Undefined),      // unknown category: the first one
        MakeItem(3, "x", 7, 1, -3),                // any state outside 0..5 is "?"
        MakeItem(4, "del\x7F", 1e6, 1, ToTrace),   // the empty marker never stands in text
    };
    for (Item item : items) {
        store.AddItem(item, seller.ID);
    }
    EXPECT_EQ(data.ReadFile("1-A_B-Jano__Mrkva__.txt"),
              "1*A_B*Jano__Mrkva__*\x7F*p*2\n"
              "1*a_b_c*12.25*b*v\n"
              "2*\x7F*0.05*a*?\n"
              "3*x*7.00*a*?\n"
              "4*del_*1000000.00*a*n\n");
    CachedDataTextfile reopened(data.Path());
    EXPECT_EQ(reopened.GetSellerItemByNumber(1, 1).PRICE, 12.25);
    EXPECT_EQ(reopened.GetSellerItemByNumber(1, 2).PRICE, 0.05);
}

TEST(DataTextfile, RenamedSellerMovesToTheNewFileName) {
    DataDirectory data;
    data.WriteFile("12-AB-Some Name.txt", ExampleFile);
    CachedDataTextfile store(data.Path());
    Seller seller = store.GetSeller(12);
    seller.NAME = "Other";
    store.UpdateSeller(12, seller);
    EXPECT_THAT(data.FileNames(), ElementsAre("12-AB-Other.txt", "kramo.lock"));
    EXPECT_EQ(data.ReadFile("12-AB-Other.txt"), "12*AB*Other*call after five*p*1\n" + WrittenItems);
}

TEST(DataTextfile, FailedWriteKeepsTheFormerFileWhole) {
    DataDirectory data;
    data.WriteFile("12-AB-Some Name.txt", ExampleFile);
    CachedDataTextfile store(data.Path());
    // A folder under the new name makes the renaming of the new content fail.
    ASSERT_EQ(::mkdir((data.Path() + "12-AB-Other.txt").c_str(), 0755), 0);
    // The temporary files of earlier versions had a fixed name; a link there is never followed.
    ASSERT_EQ(::symlink("../outside", (data.Path() + "12.tmp").c_str()), 0);
    Seller seller = store.GetSeller(12);
    seller.NAME = "Other";
    try {
        store.UpdateSeller(12, seller);
        FAIL() << "the write did not fail";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), "Could not write output file '" + data.Path() + "12-AB-Other.txt'");
    }
    EXPECT_THAT(data.FileNames(),
                ElementsAre("12-AB-Other.txt", "12-AB-Some Name.txt", "12.tmp", "kramo.lock"));
    EXPECT_EQ(data.ReadFile("12-AB-Some Name.txt"), ExampleFile);
    EXPECT_THAT(data.RootNames(), ElementsAre("data"));
}

TEST(DataTextfile, NamesAndCodesCannotSteerTheFileOutOfTheDirectory) {
    DataDirectory data;
    const Seller sellers[] = {
        MakeSeller("X", "../../evil"),          MakeSeller("../..", "x"),
        MakeSeller("C\\D", "/etc/passwd"),      MakeSeller("E", "tab\there\x01\x1F"),
        MakeSeller("F", std::string(400, 'n')),
    };
    {
        CachedDataTextfile store(data.Path());
        for (Seller seller : sellers) {
            store.AddSeller(seller);
        }
    }
    EXPECT_THAT(data.RootNames(), ElementsAre("data"));
    EXPECT_EQ(data.FileNames().size(), std::size(sellers) + 1);  // and the lock file
    CachedDataTextfile reopened(data.Path());
    const std::vector<Seller> loaded = reopened.GetSellers();
    ASSERT_EQ(loaded.size(), std::size(sellers));
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        Seller expected = sellers[i];
        expected.ID = static_cast<int32_t>(i + 1);
        // Only the limit of a seller's name cuts the header's copy of the name.
        expected.NAME = expected.NAME.substr(0, MaxSellerNameBytes);
        EXPECT_EQ(Describe(loaded[i]), Describe(expected));
    }
}

std::string Repeated(const std::string& text, std::size_t times) {
    std::string repeated;
    for (std::size_t i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

// The reader takes 511 bytes of a line and 254 of a field: longer texts must be cut before
// they are written, or they read back as other fields and invented items.
TEST(DataTextfile, LongTextsAreCutSoThatEveryLineReadsBackAsWritten) {
    DataDirectory data;
    const std::string name = "A" + Repeated("Šá", 150);  // 601 bytes, two per letter after A
    const std::string note = "volať po piatej" + Repeated(" x", 246) + " Prijal:Evka";
    ASSERT_EQ(note.size(), 520u);
    Seller seller = MakeSeller("AB", name, note, 12, Selling);
    std::vector<Item> items = {MakeItem(1, "Bund" + name, 12.34, 2, Sold),
                               MakeItem(2, "Sánky", 3.5, 1, InStock)};
    CachedDataTextfile store(data.Path());
    store.AddSellerWithItems(seller, items);
    // State changes each append the person who took the goods over.
    for (int change = 1; change <= 30; ++change) {
        Seller changed = store.GetSeller(seller.ID);
        changed.COMMENT += " Prijal:Jana" + std::to_string(change);
        store.UpdateSeller(seller.ID, changed);
    }

    const std::string file = data.ReadFile(data.FileNames().at(0));
    std::size_t lineStart = 0;
    for (std::size_t end; (end = file.find('\n', lineStart)) != std::string::npos;
         lineStart = end + 1) {
        EXPECT_LT(end - lineStart, 511u) << file.substr(lineStart, 40);
    }
    const Seller stored = store.GetSeller(seller.ID);
    // Cut before the letter that would be split.
    EXPECT_EQ(stored.NAME, name.substr(0, MaxSellerNameBytes - 1));
    EXPECT_EQ(store.GetItem(1).NAME, ("Bund" + name).substr(0, MaxItemNameBytes - 1));
    // The note keeps what was noted first and the newest takeovers.
    EXPECT_THAT(stored.COMMENT, testing::StartsWith("volať po piatej x x"));
    EXPECT_THAT(stored.COMMENT, testing::HasSubstr("…"));
    EXPECT_THAT(stored.COMMENT, testing::EndsWith(" Prijal:Jana29 Prijal:Jana30"));
    EXPECT_LE(stored.COMMENT.size(), MaxSellerNoteBytes);

    CachedDataTextfile reopened(data.Path());
    EXPECT_EQ(KramoTest::Contents(reopened), KramoTest::Contents(store));
    const std::vector<Item> readBack = reopened.GetSellerItems(seller.ID);
    ASSERT_EQ(readBack.size(), 2u);
    EXPECT_EQ(readBack[0].PRICE, 12.34);
    EXPECT_EQ(readBack[0].ITEM_CATEGORY_ID, 2);
    EXPECT_EQ(readBack[0].STATUS, Sold);
    EXPECT_EQ(reopened.GetSeller(seller.ID).SELLER_CATEGORY_ID, 12);
    EXPECT_EQ(reopened.GetSeller(seller.ID).STATUS, Selling);
}

TEST(DataTextfile, ReadsHandMadeFiles) {
    struct Case {
        const char* why;
        std::string content;
        std::string seller;
        std::vector<std::string> items;
    };
    const std::string longName(300, 'n');
    const std::string longLine = "1*" + std::string(600, 'x') + "*5.0*a*s\n";
    const Case cases[] = {
        {"example",
         ExampleFile,
         "12 [AB] [Some Name] [call after five] cat 11 status 1",
         {"seller 12 #1 [Blue jacket] 5 cat 1 status 1",
          "seller 12 #2 [Boots] 12.5 cat 2 status 2"}},
        {"byte order mark and CR LF",
         "\xEF\xBB\xBF"
         "5*CD*Eva*x*s*2\r\n3*Hat*1.5*b*d\r\n",
         "5 [CD] [Eva] [x] cat 12 status 2",
         {"seller 5 #3 [Hat] 1.5 cat 2 status 4"}},
        {"runs of separators",
         "7|CD||Eva|*|x|d|0\n4**Hat||2.0*|b*n\n",
         "7 [CD] [Eva] [x] cat 13 status 0",
         {"seller 7 #4 [Hat] 2 cat 2 status 5"}},
        {"unknown letters and states",
         "8*A*B*C*x*7\n1*y*1*z*u\n2*y*1*a*?\n3*y*1*a*\n",
         "8 [A] [B] [C] cat 11 status 0",
         {"seller 8 #1 [y] 1 cat 1 status 6", "seller 8 #2 [y] 1 cat 1 status 6",
          "seller 8 #3 [y] 1 cat 1 status 6"}},
        {"negative state, missing fields", "9*A\n", "9 [A] [] [] cat 11 status 0", {}},
        {"state letters",
         "1*A*B*C*p*0\n1*a*1*a*o\n2*b*1*a*v\n",
         "1 [A] [B] [C] cat 11 status 0",
         {"seller 1 #1 [a] 1 cat 1 status 0", "seller 1 #2 [b] 1 cat 1 status 3"}},
        {"empty markers",
         "2*\x7F*\x7F*\x7F*s*1\n5*\x7F*3.0*b*s\n",
         "2 [] [] [] cat 12 status 1",
         {"seller 2 #5 [] 3 cat 2 status 1"}},
        {"long field",
         "3*A*" + longName + "*C*p*1\n",
         "3 [A] [" + longName.substr(0, 254) + "] [C] cat 11 status 1",
         {}},
        {"overlong line read in pieces",
         "4*A*B*C*p*1\n" + longLine,
         "4 [A] [B] [C] cat 11 status 1",
         {"seller 4 #1 [" + std::string(254, 'x') + "] 0 cat 1 status 6",
          "seller 4 #0 [5.0] 0 cat 1 status 6"}},
        {"numbers out of range",
         "99999999999*A*B*C*p*-99999999999\n",
         "2147483647 [A] [B] [C] cat 11 status 0",
         {}},
        {"not a number", "abc\n", "0 [] [] [] cat 11 status 0", {}},
        {"empty file", "", "0 [] [] [] cat 11 status 0", {}},
        {"blank lines hold no item",
         "6*A*B*C*p*1\n\n3*Hat*1.5*b*d\n\r\n*\n",
         "6 [A] [B] [C] cat 11 status 1",
         {"seller 6 #3 [Hat] 1.5 cat 2 status 4"}},
    };
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    for (const Case& c : cases) {
        data.WriteFile("case.txt", c.content);
        Seller seller;
        std::vector<Item> items(3);  // whatever the caller had is dropped
        const int id = store.LoadFromTxtFile(data.Path() + "case.txt", seller, items);
        EXPECT_EQ(id, seller.ID) << c.why;
        EXPECT_EQ(Describe(seller), c.seller) << c.why;
        std::vector<std::string> described;
        for (const Item& item : items) {
            EXPECT_EQ(item.ID, -1) << c.why;
            described.push_back(Describe(item));
        }
        EXPECT_EQ(described, c.items) << c.why;
    }
}

TEST(DataTextfile, MissingFileIsARuntimeError) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    Seller seller;
    std::vector<Item> items;
    try {
        store.LoadFromTxtFile(data.Path() + "none.txt", seller, items);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "DataTextfile::LoadFromTxtFile() File not opened.");
    }
}

TEST(DataTextfile, CategoryLookupsFallBackToTheFirstEntry) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    EXPECT_THAT(IdsOf(store.GetItemCategoriesByIds({2, 99, 1})), ElementsAre(2, 1, 1));
    EXPECT_THAT(IdsOf(store.GetItemCategoriesByCodes({'b', 'z', 'a'})), ElementsAre(2, 1, 1));
    EXPECT_THAT(IdsOf(store.GetSellerCategoriesByIds({13, 5, 12})), ElementsAre(13, 11, 12));
    EXPECT_THAT(IdsOf(store.GetSellerCategoriesByCodes({'d', ' ', 's'})), ElementsAre(13, 11, 12));
    EXPECT_THAT(IdsOf(store.GetItemCategoriesByIds({})), IsEmpty());
}

TEST(DataTextfile, FixedCategoryTables) {
    DataDirectory data;
    CachedDataTextfile store(data.Path());
    // Price ranges 0 to 0: pricing an item by its category never picks the second one.
    EXPECT_THAT(store.GetItemCategories(),
                ElementsAre(ItemCategory{1, 'a', "aa", 0, 0, 1.0, 0, 0, 0},
                            ItemCategory{2, 'b', "bb", 0, 0, 4.0, 0, 0, 0}));
    EXPECT_THAT(store.GetSellerCategories(),
                ElementsAre(SellerCategory{11, 'p', "Predajca", 0, 1.0, 0, 0, 1.0, 0, 0},
                            SellerCategory{12, 's', "Sympatizant", 0, 0, 0, 0, 1.0, 0, 0},
                            SellerCategory{13, 'd', "Organizator", 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
