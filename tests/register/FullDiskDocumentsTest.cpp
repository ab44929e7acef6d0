#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "DocumentFixture.h"
#include "common/PdfReadBack.h"
#include "common/SmallDisk.h"
#include "register/Checkout.h"
#include "register/SellerStatementDocument.h"
#include "storage/CachedDataTextfile.h"

namespace {

using Kramo::Item;
using KramoTest::SmallDisk;
using testing::Each;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;
using testing::SizeIs;
using testing::StartsWith;

constexpr int LongSellerItems = 300;

// The cash desk on the text-file store, with the documents folder and the data folder each on
// a small disk of its own (linked from the program directory), so that either can be full.
// Seller 1 (AB) has two items; seller 2 (CD) so many that its file takes several pages.
class FullDiskDocumentsTest : public KramoTest::DocumentFixture {
  protected:
    FullDiskDocumentsTest() {
        std::filesystem::create_directory(documentsDisk_.File("documents"));
        std::filesystem::create_directory_symlink(documentsDisk_.File("documents"),
                                                  programDirectory_.File("documents"));
        std::filesystem::create_directory(dataDisk_.File("data"));
        std::filesystem::create_directory_symlink(dataDisk_.File("data"),
                                                  programDirectory_.File("data"));
        auto store = std::make_unique<Kramo::CachedDataTextfile>(settings_->DataDirectory());
        AddSeller(*store, "AB", 2);
        AddSeller(*store, "CD", LongSellerItems);
        register_.ReplaceStore(std::move(store));
    }

    static void AddSeller(Kramo::CachedDataTextfile& store, const char* code, int items) {
        Kramo::Seller seller;
        seller.SHORT_CODE = code;
        seller.NAME = std::string("Predajca ") + code;
        seller.SELLER_CATEGORY_ID = 11;
        seller.STATUS = Kramo::Selling;
        store.AddSeller(seller);
        std::vector<Item> list(static_cast<std::size_t>(items));
        for (int number = 1; number <= items; ++number) {
            Item& item = list[static_cast<std::size_t>(number - 1)];
            item.NUMBER = number;
            item.NAME = "Zimná bunda č. " + std::to_string(number);
            item.PRICE = 10.0 + number;
            item.ITEM_CATEGORY_ID = 1;
            item.STATUS = Kramo::InStock;
        }
        store.AddItems(list, seller.ID);
    }

    Kramo::DataAccessInterface& TextStore() { return register_.Store(); }

    // The purchase: both items of AB, then one of CD, whose file is written last.
    std::vector<Item> Purchase() {
        return {TextStore().GetSellerItemByNumber(1, 1), TextStore().GetSellerItemByNumber(1, 2),
                TextStore().GetSellerItemByNumber(2, 5)};
    }

    // The items' states in the store and, read afresh, in the files.
    std::vector<int32_t> States(const std::vector<Item>& items, Kramo::DataAccessInterface& store) {
        std::vector<int32_t> states;
        for (const Item& item : items) {
            states.push_back(store.GetSellerItemByNumber(item.SELLER_ID, item.NUMBER).STATUS);
        }
        return states;
    }
    std::vector<int32_t> StoredStates(const std::vector<Item>& items) {
        return States(items, TextStore());
    }
    std::vector<int32_t> FileStates(const std::vector<Item>& items) {
        Kramo::CachedDataTextfile reopened(settings_->DataDirectory());
        return States(items, reopened);
    }

    SmallDisk documentsDisk_{128 * 1024};
    SmallDisk dataDisk_{256 * 1024};
    Kramo::Checkout checkout_{register_, *settings_};
};

// The sale matters more than its receipt: the receipt's failure is shown, the sale recorded,
// and no PDF cut short is left in the folder.
TEST_F(FullDiskDocumentsTest, ReceiptOnAFullDiskIsReportedAndTheSaleStillRecorded) {
    const std::vector<Item> items = Purchase();
    documentsDisk_.FillLeaving(0);
    checkout_.FinishCheckout(items);

    ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(1)) << log_.Text();
    EXPECT_THAT(boxes_.ShownBoxes()[0].text, StartsWith("PDF error: error_no=1016, detail_no=28"));
    EXPECT_EQ(boxes_.ShownBoxes()[0].detail, "PDF runtime error");
    EXPECT_THAT(Documents(), IsEmpty());
    EXPECT_THAT(StoredStates(items), Each(Kramo::Sold));
    EXPECT_THAT(FileStates(items), Each(Kramo::Sold));
}

// A sale the store cannot take leaves every item in stock, in memory and in the files, and no
// receipt for it; the purchase stays at the desk, and the next try once there is room records
// it with one receipt. With the documents disk full as well, the receipt's failure is shown
// first.
TEST_F(FullDiskDocumentsTest, SaleThatCannotBeRecordedLeavesNothingSoldAndNoReceipt) {
    for (const bool documentsFull : {false, true}) {
        const std::vector<Item> items = Purchase();
        const std::size_t receiptsBefore = Documents().size();
        const std::size_t boxesBefore = boxes_.ShownBoxes().size();
        if (documentsFull) {
            documentsDisk_.FillLeaving(0);
        }
        dataDisk_.FillLeaving(0);
        try {
            checkout_.FinishCheckout(items);
            ADD_FAILURE() << "the sale seemed recorded";
        } catch (const std::runtime_error& failure) {
            EXPECT_THAT(failure.what(), HasSubstr("Could not write output file")) << log_.Text();
        }
        EXPECT_THAT(StoredStates(items), Each(Kramo::InStock)) << documentsFull;
        EXPECT_THAT(FileStates(items), Each(Kramo::InStock)) << documentsFull;
        EXPECT_EQ(Documents().size(), receiptsBefore) << documentsFull;
        EXPECT_EQ(boxes_.ShownBoxes().size() - boxesBefore, documentsFull ? 1u : 0u);

        dataDisk_.Release();
        documentsDisk_.Release();
        checkout_.FinishCheckout(items);
        EXPECT_THAT(FileStates(items), Each(Kramo::Sold)) << documentsFull;
        ASSERT_EQ(Documents().size(), receiptsBefore + 1) << documentsFull;
        EXPECT_THAT(KramoTest::PdfReadBack(DocumentPath(Documents().back())).Text(),
                    HasSubstr("CD-5"));

        // The next round sells the same items again, from stock.
        for (const Item& item : items) {
            TextStore().ModifyItem(item.ID, item);
        }
    }
}

// The disk fills between the sellers' files: AB's file takes the sale, CD's does not. AB's
// items must not stay sold, for the buyer did not get them.
TEST_F(FullDiskDocumentsTest, DiskFullHalfWayThroughTheSalePutsBackWhatWasSold) {
    const std::vector<Item> items = Purchase();
    dataDisk_.FillLeaving(SmallDisk::PageSize);
    EXPECT_THROW(checkout_.FinishCheckout(items), std::runtime_error);
    EXPECT_THAT(StoredStates(items), Each(Kramo::InStock));
    EXPECT_THAT(FileStates(items), Each(Kramo::InStock));
    EXPECT_THAT(log_.Text(), Not(HasSubstr("stays sold")));
    EXPECT_THAT(Documents(), IsEmpty());
}

// The statement that the disk does not take is reported, and no path comes back for the
// viewer to open.
TEST_F(FullDiskDocumentsTest, StatementOnAFullDiskIsReportedAndNotOffered) {
    documentsDisk_.FillLeaving(0);
    EXPECT_FALSE(Kramo::PrintSellerStatement(register_, *settings_, 2));
    ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(1));
    EXPECT_THAT(boxes_.ShownBoxes()[0].text, StartsWith("PDF error: error_no=1016"));
    EXPECT_EQ(boxes_.ShownBoxes()[0].detail, "PDF runtime error");
    EXPECT_THAT(Documents(), IsEmpty());

    documentsDisk_.Release();
    const auto path = Kramo::PrintSellerStatement(register_, *settings_, 2);
    ASSERT_TRUE(path);
    // Whole, up to its last line.
    EXPECT_THAT(KramoTest::PdfReadBack(*path).Text(),
                HasSubstr("Nepredané veci a peniaze prevzal"));
}

}  // namespace
