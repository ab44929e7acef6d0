#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>

#include "DataDirectory.h"
#include "common/LogCapture.h"
#include "common/SmallDisk.h"
#include "common/TemporaryDirectory.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;
using KramoTest::Contents;
using KramoTest::MakeItem;
using KramoTest::MakeSeller;
using KramoTest::SmallDisk;
using testing::HasSubstr;

// A long seller file takes several pages of the disk, so that one free page is not enough
// to rewrite it while it is enough for the small files.
constexpr int LongSellerItems = 300;

struct Change {
    const char* name;
    std::function<void(CachedDataTextfile&)> apply;
};

// The text-file store with its data folder on a small disk of its own: a long seller (1), a
// short one (2) and one with a single item (3).
class FullDiskStoreTest : public testing::Test {
  protected:
    FullDiskStoreTest() {
        std::filesystem::create_directory(disk.File("data"));
        store = std::make_unique<CachedDataTextfile>(Data());
        AddSeller("AB", "Anna Nováková", LongSellerItems);
        AddSeller("CD", "Cyril Dlhý", 3);
        AddSeller("EF", "Eva Fialová", 1);
    }

    std::string Data() const { return disk.File("data") + "/"; }

    void AddSeller(const std::string& code, const std::string& name, int items) {
        Seller seller = MakeSeller(code, name, "poznámka", 11, Selling);
        store->AddSeller(seller);
        std::vector<Item> list;
        for (int number = 1; number <= items; ++number) {
            list.push_back(
                MakeItem(number, "Detská bunda veľkosť " + std::to_string(number), 12.5 + number));
        }
        store->AddItems(list, seller.ID);
    }

    // Every entry of the data folder with its content.
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(Data())) {
            files[entry.path().filename().string()] =
                KramoTest::ReadWholeFile(entry.path().string());
        }
        return files;
    }

    std::vector<std::string> ContentsAfterRestart() const {
        CachedDataTextfile reopened(Data());
        return Contents(reopened);
    }

    Item ItemOf(int sellerId, int number) { return store->GetSellerItemByNumber(sellerId, number); }

    // Changes that all rewrite the long seller's file, some another file as well.
    std::vector<Change> ChangesOfTheLongSeller() {
        return {
            {"item added",
             [](CachedDataTextfile& store) {
                 Item item = MakeItem(LongSellerItems + 1, "Kočík", 80.0);
                 store.AddItem(item, 1);
             }},
            {"items added at once",
             [](CachedDataTextfile& store) {
                 std::vector<Item> items{MakeItem(401, "Sánky", 9.0), MakeItem(402, "Lyže", 20.0)};
                 store.AddItems(items, 1);
             }},
            {"item sold",
             [this](CachedDataTextfile& store) {
                 Item item = ItemOf(1, 7);
                 item.STATUS = Sold;
                 store.ModifyItem(item.ID, item);
             }},
            {"item moved to a short seller, whose file is written first",
             [this](CachedDataTextfile& store) {
                 Item item = ItemOf(1, 8);
                 item.SELLER_ID = 3;
                 store.ModifyItem(item.ID, item);
             }},
            {"item removed",
             [this](CachedDataTextfile& store) { store.RemoveItem(ItemOf(1, 9).ID); }},
            {"seller renamed, so its file gets a new name",
             [](CachedDataTextfile& store) {
                 Seller seller = store.GetSeller(1);
                 seller.NAME = "Anna Nová";
                 store.UpdateSeller(1, seller);
             }},
        };
    }

    KramoTest::LogCapture log;
    SmallDisk disk{256 * 1024};
    std::unique_ptr<CachedDataTextfile> store;
};

// Every failed change must leave the files as they were, byte for byte, with no temporary file
// beside them, and the store in memory as it was: a change kept only in memory would reach
// the disk unseen with the seller's next change.
TEST_F(FullDiskStoreTest, ChangeThatCannotBeWrittenIsReportedAndLeavesEveryFileAndRecordAsItWas) {
    const std::map<std::string, std::string> filesBefore = Files();
    const std::vector<std::string> contentsBefore = Contents(*store);
    ASSERT_EQ(ContentsAfterRestart(), contentsBefore);

    for (const std::size_t freeBytes : {std::size_t{0}, SmallDisk::PageSize}) {
        disk.FillLeaving(freeBytes);
        const std::size_t freeBefore = disk.FreeBytes();
        for (const Change& change : ChangesOfTheLongSeller()) {
            const std::string context = std::string(change.name) + ", " +
                                        std::to_string(freeBytes) + " bytes free\n" + log.Text();
            try {
                change.apply(*store);
                ADD_FAILURE() << "no failure: " << context;
            } catch (const std::runtime_error& failure) {
                EXPECT_THAT(failure.what(), HasSubstr("output file '" + Data())) << context;
            }
            EXPECT_EQ(Files(), filesBefore) << context;
            EXPECT_EQ(Contents(*store), contentsBefore) << context;
            EXPECT_EQ(disk.FreeBytes(), freeBefore) << context;
        }
        EXPECT_EQ(ContentsAfterRestart(), contentsBefore);
        disk.Release();
    }
    EXPECT_THAT(log.Text(), HasSubstr("change not stored, taken back"));

    // With room again, the next change of the seller brings only itself to the disk.
    Item item = ItemOf(1, 1);
    item.STATUS = Sold;
    store->ModifyItem(item.ID, item);
    std::vector<std::string> expected = contentsBefore;
    expected[1] = "  " + KramoTest::Describe(item);
    EXPECT_EQ(Contents(*store), expected);
    EXPECT_EQ(ContentsAfterRestart(), expected);
}

TEST_F(FullDiskStoreTest, NewSellerOnAFullDiskIsNeitherStoredNorRemembered) {
    const std::map<std::string, std::string> filesBefore = Files();
    disk.FillLeaving(0);
    Seller seller = MakeSeller("GH", "Gabriel Horský");
    EXPECT_THROW(store->AddSeller(seller), std::runtime_error);
    EXPECT_EQ(Files(), filesBefore);
    EXPECT_THROW(store->GetSeller(seller.ID), WrongSellerException);
    EXPECT_EQ(store->GetNextSellerId(), 4);

    // An imported seller with its goods: neither of them.
    const int nextItem = store->GetNextItemId();
    std::vector<Item> items{MakeItem(1, "Bábika", 4.0), MakeItem(2, "Vláčik", 7.5)};
    EXPECT_THROW(store->AddSellerWithItems(seller, items), std::runtime_error);
    EXPECT_EQ(Files(), filesBefore);
    EXPECT_THROW(store->GetSeller(seller.ID), WrongSellerException);
    EXPECT_EQ(store->GetNextItemId(), nextItem);
}

// Not even an empty file can be made: the temporary file fails to open.
TEST_F(FullDiskStoreTest, DiskWithoutFreeFilesRefusesTheChangeInTheSameWay) {
    const std::map<std::string, std::string> filesBefore = Files();
    const std::vector<std::string> contentsBefore = Contents(*store);
    disk.FillInodes();
    Item item = ItemOf(2, 1);
    item.NAME = "Bábika";
    try {
        store->ModifyItem(item.ID, item);
        ADD_FAILURE() << "no failure";
    } catch (const std::runtime_error& failure) {
        EXPECT_THAT(failure.what(), HasSubstr("Could not open output file '" + Data() + "2-CD-"));
    }
    EXPECT_EQ(Files(), filesBefore);
    EXPECT_EQ(Contents(*store), contentsBefore);
}

}  // namespace
