#include "register/Checkout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "DocumentFixture.h"
#include "common/PdfReadBack.h"
#include "register/DocumentNames.h"
#include "register/ItemScan.h"
#include "storage/CachedDataTextfile.h"

namespace {

using Kramo::Checkout;
using Kramo::Item;
using KramoTest::PdfReadBack;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::SizeIs;

class CheckoutTest : public KramoTest::DocumentFixture {
  protected:
    std::vector<int32_t> StoredStates(const std::vector<Item>& items) {
        std::vector<int32_t> states;
        for (const Item& item : items) {
            states.push_back(Store().GetItem(item.ID).STATUS);
        }
        return states;
    }

    Checkout checkout_{register_, *settings_};
};

TEST_F(CheckoutTest, FinishingWritesTheReceiptIntoANewFolderAndMarksTheItemsSold) {
    const std::vector<Item> items = {AddItem(1, "Kočík", 12.5), AddItem(2, "Bábika", 1.2, 3)};
    checkout_.FinishCheckout(items);

    const std::vector<std::string> documents = Documents();
    ASSERT_THAT(documents, SizeIs(1));
    EXPECT_THAT(documents[0],
                MatchesRegex("Predaj_[0-9]{2}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}\\.pdf"));
    const std::string receipt = PdfReadBack(DocumentPath(documents[0])).Text();
    EXPECT_THAT(receipt, testing::ContainsRegex("2 +AB-2 +Bábika +1\\.20"));
    EXPECT_THAT(receipt, testing::ContainsRegex("Suma +13\\.70"));
    // The store in memory records no sales, like the text files: the items are marked one by one.
    EXPECT_THAT(StoredStates(items), ElementsAre(Kramo::Sold, Kramo::Sold));
    EXPECT_THAT(log_.Text(),
                HasSubstr("FinishCheckout: store records no sales, 2 items marked sold"));
    EXPECT_TRUE(boxes_.ShownBoxes().empty());
}

TEST_F(CheckoutTest, ASecondPurchaseKeepsTheFirstReceipt) {
    checkout_.FinishCheckout({AddItem(1, "Kočík", 12.5)});
    checkout_.FinishCheckout({AddItem(2, "Bábika", 1.2)});
    const std::vector<std::string> documents = Documents();
    ASSERT_THAT(documents, SizeIs(2));
    EXPECT_THAT(PdfReadBack(DocumentPath(documents[0])).Text(), HasSubstr("Kočík"));
    EXPECT_THAT(PdfReadBack(DocumentPath(documents[1])).Text(), HasSubstr("Bábika"));
}

TEST_F(CheckoutTest, ReceiptOfAnItemWithoutSellerIsReportedAndTheSaleStillRecorded) {
    Item orphan = AddItem(1, "Kočík", 12.5);
    Item other = AddItem(2, "Bábika", 1.2);
    orphan.SELLER_ID = 99;
    checkout_.FinishCheckout({other, orphan});

    ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(1));
    EXPECT_EQ(boxes_.ShownBoxes()[0].text,
              "PDF error:KramoRegister::FinishCheckout: Seller not found");
    EXPECT_EQ(boxes_.ShownBoxes()[0].detail, "PDF runtime error");
    ASSERT_THAT(Documents(), SizeIs(1));
    EXPECT_THAT(PdfReadBack(DocumentPath(Documents()[0])).Lines(0), SizeIs(2));  // decoration
    EXPECT_THAT(StoredStates({other, orphan}), ElementsAre(Kramo::Sold, Kramo::Sold));
}

TEST_F(CheckoutTest, ReceiptThatCannotBeSavedIsReportedAndTheSaleStillRecorded) {
    // A file where the documents folder should be.
    programDirectory_.WriteFile("documents", "");
    const Item item = AddItem(1, "Kočík", 12.5);
    checkout_.FinishCheckout({item});
    ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(1));
    EXPECT_THAT(boxes_.ShownBoxes()[0].text, testing::StartsWith("PDF error: error_no=1017"));
    EXPECT_EQ(Store().GetItem(item.ID).STATUS, Kramo::Sold);
}

TEST_F(CheckoutTest, StoreThatRecordsSalesGetsTheWholePurchaseAtOnce) {
    class SaleStore : public KramoTest::MemoryStore {
      public:
        void StoreSale(const std::vector<int>& itemIds, const std::string& title) override {
            sales.push_back({itemIds, title});
            if (fail) {
                throw Kramo::DataStorageException();
            }
        }
        void ModifyItem(int, const Item&) override { ADD_FAILURE() << "no item update expected"; }
        std::vector<std::pair<std::vector<int>, std::string>> sales;
        bool fail = false;
    };
    auto owned = std::make_unique<SaleStore>();
    SaleStore& store = *owned;
    store.itemCategories = Store().itemCategories;
    store.PutSeller(seller_);
    register_.ReplaceStore(std::move(owned));
    Item first;
    first.PRICE = 1.0;
    Item second = first;
    store.AddItem(first, seller_.ID);
    store.AddItem(second, seller_.ID);

    checkout_.FinishCheckout({second, first});
    ASSERT_THAT(store.sales, SizeIs(1));
    EXPECT_THAT(store.sales[0].first, ElementsAre(second.ID, first.ID));
    EXPECT_EQ(store.sales[0].second, "Sale");

    // The receipt came first, and goes again with the sale the store did not take.
    store.fail = true;
    EXPECT_THROW(checkout_.FinishCheckout({first}), Kramo::DataStorageException);
    EXPECT_THAT(Documents(), SizeIs(1));
    EXPECT_THAT(log_.Text(), HasSubstr("FinishCheckout: sale not recorded, receipt '"));
}

TEST_F(CheckoutTest, FinishingOnTheTextFileStoreMarksTheItemsSoldInTheirFile) {
    KramoTest::TemporaryDirectory data;
    data.WriteFile("4-AB-Anna.txt", "4*AB*Anna*pozn.*p*1\n1*Kočík*12.5*a*s\n2*Bábika*1.2*a*s\n");
    register_.ReplaceStore(std::make_unique<Kramo::CachedDataTextfile>(data.Path() + "/"));
    const std::vector<Item> items = register_.Store().GetSellerItems(4);
    checkout_.FinishCheckout({items.at(1)});

    Kramo::CachedDataTextfile reopened(data.Path() + "/");
    const std::vector<Item> stored = reopened.GetSellerItems(4);
    ASSERT_THAT(stored, SizeIs(2));
    EXPECT_EQ(stored[0].STATUS, Kramo::InStock);
    EXPECT_EQ(stored[1].STATUS, Kramo::Sold);
}

TEST_F(CheckoutTest, AddingFollowsTheRulesOfTheDesk) {
    const Item inStock = AddItem(1, "Kočík", 12.5);
    const Item returned = AddItem(2, "Bábika", 1.2, Kramo::Returned);
    Kramo::Purchase purchase;

    EXPECT_FALSE(checkout_.AddToPurchase(purchase, -1));
    const auto line = checkout_.AddToPurchase(purchase, inStock.ID);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->seller.SHORT_CODE, "AB");
    EXPECT_EQ(line->category.NAME, "Oblečenie");
    EXPECT_EQ(line->item.NAME, "Kočík");
    EXPECT_FALSE(checkout_.AddToPurchase(purchase, inStock.ID));  // once only, no question

    boxes_.AnswerQuestion(false);
    EXPECT_FALSE(checkout_.AddToPurchase(purchase, returned.ID));
    boxes_.AnswerQuestion(true);
    EXPECT_TRUE(checkout_.AddToPurchase(purchase, returned.ID));
    EXPECT_THAT(purchase.ItemIds(), ElementsAre(inStock.ID, returned.ID));

    ASSERT_THAT(boxes_.ShownOfKind("question"), SizeIs(2));
    EXPECT_EQ(boxes_.ShownOfKind("question")[0].text, "Tento tovar nieje označený že je na sklade");
    EXPECT_EQ(boxes_.ShownOfKind("question")[0].detail, "Chcete ho naozaj predať?");
}

// One field takes a label's scan and what a cashier types by hand; the price label says why an
// item does not go into the purchase.
TEST_F(CheckoutTest, ScanFieldFindsTheItemAndSaysWhyItIsRefused) {
    using Kramo::ScanRefusal;
    const Item inStock = AddItem(17, "Kočík", 12.5);
    AddItem(2, "Bábika", 1.2, Kramo::Sold);
    AddItem(3, "Šál", 2.0, Kramo::Unassigned);
    AddItem(4, "Lopta", 2.0, Kramo::Returned);
    AddItem(5, "Auto", 2.0, Kramo::Gift);
    Kramo::SellerList sellers;
    sellers.Reload(Store().GetSellers());
    Kramo::Purchase purchase;
    purchase.Add(AddItem(6, "Vlak", 3.0).ID);

    struct Case {
        const char* text;
        ScanRefusal refusal;
    };
    const Case cases[] = {
        {"KR0000040017", ScanRefusal::None},
        {"kr0000040017", ScanRefusal::None},
        {"KRéééééčéé+ý", ScanRefusal::None},
        {"AB17", ScanRefusal::None},
        {"ab 17", ScanRefusal::None},
        {"AB-17", ScanRefusal::None},
        {" AB/17 ", ScanRefusal::None},
        {"AB2", ScanRefusal::Sold},
        {"AB3", ScanRefusal::NotAccepted},
        {"AB4", ScanRefusal::Returned},
        {"AB5", ScanRefusal::GivenAway},
        {"AB6", ScanRefusal::AlreadyInPurchase},
        {"AB18", ScanRefusal::UnknownItem},
        {"KR0000040018", ScanRefusal::UnknownItem},
        {"XY17", ScanRefusal::UnknownSeller},
        {"KR0000990017", ScanRefusal::UnknownSeller},
        {"AB", ScanRefusal::UnknownSeller},
        {"", ScanRefusal::UnknownSeller},
        {"AB123456", ScanRefusal::UnknownSeller},
    };
    for (const Case& c : cases) {
        const Kramo::ScanOutcome outcome =
            Kramo::ItemScan::Find(Store(), sellers, purchase, c.text);
        EXPECT_EQ(outcome.refusal, c.refusal) << c.text;
        if (c.refusal == ScanRefusal::None) {
            EXPECT_EQ(outcome.item->ID, inStock.ID) << c.text;
        }
        // Only an item's state can be overruled, never a second scan or an unknown item.
        EXPECT_EQ(outcome.CanBeOverruled(),
                  c.refusal >= ScanRefusal::Sold && c.refusal <= ScanRefusal::UnknownState)
            << c.text;
    }
    EXPECT_STREQ(Kramo::ItemScan::RefusalText(ScanRefusal::Sold), "už predané");
}

TEST_F(CheckoutTest, PurchaseTotalIsThePlainSum) {
    Item a;
    a.PRICE = 1.2;
    Item b;
    b.PRICE = 2.37;
    EXPECT_DOUBLE_EQ(Checkout::PurchaseTotal({a, b}), 1.2 + 2.37);
    EXPECT_DOUBLE_EQ(Checkout::PurchaseTotal({}), 0.0);
}

TEST_F(CheckoutTest, NextFreeItemNumber) {
    Item fresh;
    fresh.SELLER_ID = seller_.ID;
    EXPECT_EQ(checkout_.NextFreeItemNumber(fresh, -1), 1);  // a seller without items
    AddItem(1, "a", 1.0);
    const Item two = AddItem(2, "b", 1.0);
    AddItem(5, "c", 1.0);
    struct Case {
        Item item;
        int proposed;
        int expected;
    };
    const Case cases[] = {
        {fresh, 3, 3}, {fresh, 2, 6}, {two, 2, 2}, {fresh, -1, 6}, {two, 5, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkout_.NextFreeItemNumber(c.item, c.proposed), c.expected)
            << "item " << c.item.ID << " proposed " << c.proposed;
    }
}

TEST(FreeFilePath, NumbersTheNameWhenTaken) {
    KramoTest::TemporaryDirectory folder;
    const std::string base = folder.Path() + "/";
    EXPECT_EQ(Kramo::FreeFilePath(base, "Predaj_12-04-21_10-35.pdf"),
              base + "Predaj_12-04-21_10-35.pdf");
    folder.WriteFile("Predaj_12-04-21_10-35.pdf", "");
    EXPECT_EQ(Kramo::FreeFilePath(base, "Predaj_12-04-21_10-35.pdf"),
              base + "Predaj_12-04-21_10-35_2.pdf");
    folder.WriteFile("Predaj_12-04-21_10-35_2.pdf", "");
    EXPECT_EQ(Kramo::FreeFilePath(base, "Predaj_12-04-21_10-35.pdf"),
              base + "Predaj_12-04-21_10-35_3.pdf");
}

}  // namespace
