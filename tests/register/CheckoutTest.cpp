#include "register/Checkout.h"

#include <cups/cups.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <utility>

#include "DocumentFixture.h"
#include "common/PdfReadBack.h"
#include "register/DocumentNames.h"
#include "register/ItemMarking.h"
#include "register/ItemScan.h"
#include "storage/CachedDataTextfile.h"

namespace {

using Kramo::Checkout;
using Kramo::Item;
using KramoTest::PdfReadBack;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::Not;
using testing::SizeIs;

// Takes sales as a store shared by several desks does, and fails the next one as scripted.
class SaleStore : public KramoTest::MemoryStore {
  public:
    void StoreSale(const Kramo::SaleRecord& sale) override {
        tries.push_back(sale);
        if (failure) {
            std::rethrow_exception(std::exchange(failure, nullptr));
        }
    }
    void ModifyItem(int, const Item&) override { ADD_FAILURE() << "no item update expected"; }

    std::vector<Kramo::SaleRecord> tries;
    std::exception_ptr failure;
};

class CheckoutTest : public KramoTest::DocumentFixture {
  protected:
    SaleStore& UseSaleStore() {
        auto owned = std::make_unique<SaleStore>();
        owned->itemCategories = Store().itemCategories;
        owned->sellerCategories = Store().sellerCategories;
        owned->PutSeller(seller_);
        store_ = owned.get();
        register_.ReplaceStore(std::move(owned));
        return static_cast<SaleStore&>(*store_);
    }

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
    // The store in memory records no sales: the items are marked one by one.
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
    SaleStore& store = UseSaleStore();
    const Item first = AddItem(1, "a", 1.0);
    const Item second = AddItem(2, "b", 1.0);

    checkout_.FinishCheckout({second, first});
    ASSERT_THAT(store.tries, SizeIs(1));
    EXPECT_THAT(store.tries[0].itemIds, ElementsAre(second.ID, first.ID));
    EXPECT_EQ(store.tries[0].title, "Sale");

    // The receipt came first, and goes again with the sale the store did not take.
    store.failure = std::make_exception_ptr(Kramo::DataStorageException());
    EXPECT_THROW(checkout_.FinishCheckout({first}), Kramo::DataStorageException);
    EXPECT_THAT(Documents(), SizeIs(1));
    EXPECT_THAT(log_.Text(), HasSubstr("FinishCheckout: sale not recorded, receipt '"));
}

// A retry after an unknown outcome goes under the same key (the store then records the sale at
// most once); a changed purchase is another sale. An item sold knowingly goes as forced.
TEST_F(CheckoutTest, PurchaseKeepsItsKeyForEveryRetryUntilItChanges) {
    SaleStore& store = UseSaleStore();
    Kramo::Purchase purchase;
    checkout_.AddToPurchase(purchase, AddItem(1, "Kabát", 5.0).ID);
    boxes_.AnswerQuestion(true);  // "Tento tovar nieje označený že je na sklade"
    const Item sold = AddItem(2, "Bábika", 1.2, Kramo::Sold);
    checkout_.AddToPurchase(purchase, sold.ID);

    store.failure = std::make_exception_ptr(Kramo::UnknownOutcomeException());
    EXPECT_THROW(checkout_.FinishPurchase(purchase), Kramo::UnknownOutcomeException);
    EXPECT_THAT(purchase.ItemIds(), SizeIs(2));
    EXPECT_THAT(Documents(), SizeIs(0));
    store.failure = std::make_exception_ptr(Kramo::UnknownOutcomeException());
    EXPECT_THROW(checkout_.FinishPurchase(purchase), Kramo::UnknownOutcomeException);
    purchase.Add(AddItem(3, "Šál", 2.0));
    EXPECT_TRUE(checkout_.FinishPurchase(purchase));
    ASSERT_THAT(store.tries, SizeIs(3));
    EXPECT_EQ(store.tries[1].key, store.tries[0].key);
    EXPECT_NE(store.tries[2].key, store.tries[1].key);
    EXPECT_THAT(store.tries[2].forcedItemIds, ElementsAre(sold.ID));
    EXPECT_TRUE(purchase.ItemIds().empty());
    EXPECT_THAT(Documents(), SizeIs(1));
}

TEST_F(CheckoutTest, ItemsGoneAtAnotherDeskAreNamedAndTakenOutWhenTheCashierAgrees) {
    SaleStore& store = UseSaleStore();
    const Item coat = AddItem(1, "Kabát", 5.0);
    const Item doll = AddItem(2, "Bábika", 1.2);
    const Item ball = AddItem(3, "Lopta", 3.0);
    Kramo::Purchase purchase;
    for (const Item& item : {coat, doll, ball}) {
        checkout_.AddToPurchase(purchase, item.ID);
    }
    Store().RemoveItem(ball.ID);  // named as it was added, before the store is asked
    boxes_.AnswerQuestion(true);
    store.failure = std::make_exception_ptr(Kramo::ItemsNotInStockException({doll.ID}));
    boxes_.AnswerQuestion(false);
    EXPECT_FALSE(checkout_.FinishPurchase(purchase, 10.0));
    EXPECT_THAT(purchase.ItemIds(), ElementsAre(coat.ID, doll.ID));
    EXPECT_THAT(Documents(), SizeIs(0));
    const auto questions = boxes_.ShownOfKind("question");
    ASSERT_THAT(questions, SizeIs(2));
    EXPECT_THAT(questions[0].text, HasSubstr(":\nAB-3  Lopta  3.00 eur\n\n"));
    EXPECT_EQ(questions[1].text,
              "Na inej pokladni sa medzitým predal alebo odstránil tento tovar:\n"
              "AB-2  Bábika  1.20 eur\n\nOdstrániť ho z nákupu a predať zvyšok?");

    store.failure = std::make_exception_ptr(Kramo::ItemsNotInStockException({doll.ID}));
    boxes_.AnswerQuestion(true);
    EXPECT_TRUE(checkout_.FinishPurchase(purchase, 10.0));
    EXPECT_THAT(store.tries.back().itemIds, ElementsAre(coat.ID));
    EXPECT_DOUBLE_EQ(checkout_.LastPurchase()->total, 5.0);
    EXPECT_THAT(PdfReadBack(DocumentPath(Documents().at(0))).Text(), Not(HasSubstr("Bábika")));
}

// A storno then puts the last purchase back in stock in the files and leaves a note beside
// its receipt; it needs the cashier's yes and takes back one purchase only once.
TEST_F(CheckoutTest, FinishingOnTheTextFileStoreMarksTheItemsSoldInTheirFileAndStornoBack) {
    KramoTest::TemporaryDirectory data;
    data.WriteFile("4-AB-Anna.txt", "4*AB*Anna*pozn.*p*1\n1*Kočík*12.5*a*s\n2*Bábika*1.2*a*s\n");
    register_.ReplaceStore(std::make_unique<Kramo::CachedDataTextfile>(data.Path() + "/"));
    const std::vector<Item> items = register_.Store().GetSellerItems(4);
    EXPECT_FALSE(checkout_.CancelLastPurchase());  // nothing sold yet, nothing asked
    checkout_.FinishCheckout({items.at(1)});

    const auto storedStates = [&data] {
        Kramo::CachedDataTextfile reopened(data.Path() + "/");
        std::vector<int32_t> states;
        for (const Item& item : reopened.GetSellerItems(4)) {
            states.push_back(item.STATUS);
        }
        return states;
    };
    EXPECT_THAT(storedStates(), ElementsAre(Kramo::InStock, Kramo::Sold));

    boxes_.AnswerQuestion(false);
    EXPECT_FALSE(checkout_.CancelLastPurchase());
    EXPECT_THAT(storedStates(), ElementsAre(Kramo::InStock, Kramo::Sold));
    boxes_.AnswerQuestion(true);
    EXPECT_TRUE(checkout_.CancelLastPurchase());
    EXPECT_FALSE(checkout_.CancelLastPurchase());
    EXPECT_THAT(storedStates(), ElementsAre(Kramo::InStock, Kramo::InStock));
    EXPECT_EQ(boxes_.ShownOfKind("question")[1].text, "Stornovať posledný nákup (1 ks, 1.20 eur)?");

    const std::vector<std::string> documents = Documents();
    ASSERT_THAT(documents, SizeIs(2));
    EXPECT_THAT(documents[1], MatchesRegex("Predaj_.*_storno\\.txt"));
    const std::string note = KramoTest::ReadWholeFile(DocumentPath(documents[1]));
    EXPECT_THAT(note, HasSubstr("Účet: " + documents[0]));
    EXPECT_THAT(note, HasSubstr("AB-2  Bábika  1.20"));
    EXPECT_THAT(note, HasSubstr("Suma: 1.20 eur"));
}

TEST_F(CheckoutTest, AmountBelowTheSumIsRefusedBeforeAnythingIsWritten) {
    const Item item = AddItem(1, "Kočík", 12.5);
    try {
        checkout_.FinishCheckout({item}, 12.0);
        FAIL();
    } catch (const std::invalid_argument& refusal) {
        EXPECT_STREQ(refusal.what(), "Prijatá suma 12.00 je menšia ako suma nákupu 12.50.");
    }
    EXPECT_THAT(Documents(), SizeIs(0));
    EXPECT_EQ(Store().GetItem(item.ID).STATUS, Kramo::InStock);
    // A sum of binary fractions a hair above the amount handed over is paid exactly.
    checkout_.FinishCheckout({AddItem(2, "a", 0.1), AddItem(3, "b", 0.2)}, 0.3);
    EXPECT_THAT(PdfReadBack(DocumentPath(Documents().at(0))).Text(),
                testing::ContainsRegex("Vydať +0\\.00"));
}

// Receipts go to the PDF printer of the CUPS test server that scripts/test starts
// (scripts/cups-server.sh); each test tells its own jobs apart by a word in the sale name, which
// the job's title and the printed file's name carry.
class ReceiptPrintingTest : public CheckoutTest {
  protected:
    void SetUp() override {
        const char* server = std::getenv("CUPS_SERVER");
        const char* printer = std::getenv("KRAMO_TEST_CUPS_PRINTER");
        const char* output = std::getenv("KRAMO_TEST_CUPS_OUTPUT");
        if (server == nullptr || printer == nullptr || output == nullptr) {
            FAIL() << "CUPS_SERVER, KRAMO_TEST_CUPS_PRINTER or KRAMO_TEST_CUPS_OUTPUT is not set: "
                      "run the tests through scripts/test, which starts the CUPS test server";
        }
        printer_ = printer;
        output_ = output;
        settings_->SetSaleName("Kramo test " + token_);
        settings_->SetReceiptPrinterName(printer_);
    }
    void TearDown() override {
        std::error_code error;
        for (const std::string& file : PrintedFiles()) {
            std::filesystem::remove(file, error);
        }
    }

    std::vector<std::string> PrintedFiles() const {
        std::vector<std::string> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(output_, error)) {
            if (entry.path().filename().string().find(token_) != std::string::npos) {
                files.push_back(entry.path().string());
            }
        }
        return files;
    }
    // The text of the one file the printer made of this test's job, once it is there.
    std::string PrintedText() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::vector<std::string> files = PrintedFiles();
            if (files.size() == 1) {
                const std::string text = PdfReadBack(files[0]).Text();
                if (text.find("Vydať") != std::string::npos) {
                    return text;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ADD_FAILURE() << "nothing printed with '" << token_ << "' in " << output_;
        return std::string();
    }
    // The titles of the printer's jobs, done or not, that carry this test's word.
    std::vector<std::string> JobTitles() const {
        cups_job_t* jobs = nullptr;
        const int count =
            cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, printer_.c_str(), 0, CUPS_WHICHJOBS_ALL);
        std::vector<std::string> titles;
        for (int i = 0; i < count; ++i) {
            if (std::string(jobs[i].title).find(token_) != std::string::npos) {
                titles.emplace_back(jobs[i].title);
            }
        }
        cupsFreeJobs(count, jobs);
        return titles;
    }

    const std::string token_ =
        "kt" + std::to_string(::getpid()) + "x" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000);
    std::string printer_;
    std::string output_;
};

TEST_F(ReceiptPrintingTest, ReceiptOnARollArrivesAtThePrinter) {
    settings_->SetReceiptPage("roll-80");
    settings_->SetPrintReceipts(Kramo::ReceiptPrinting::Always);
    checkout_.FinishCheckout({AddItem(1, "Kočík", 12.5), AddItem(2, "Bábika", 1.2)}, 20.0);

    EXPECT_TRUE(boxes_.ShownBoxes().empty());
    ASSERT_THAT(Documents(), SizeIs(1));
    const std::vector<KramoTest::PdfPageWords> written =
        PdfReadBack(DocumentPath(Documents()[0])).Words();
    ASSERT_THAT(written, SizeIs(1));
    EXPECT_NEAR(written[0].width, 80.0 * 72.0 / 25.4, 0.01);
    EXPECT_THAT(JobTitles(), ElementsAre("Kramo test " + token_ + " " +
                                         Documents()[0].substr(0, Documents()[0].size() - 4)));
    const std::string printed = PrintedText();
    EXPECT_THAT(printed, HasSubstr("Kramo test " + token_));
    EXPECT_THAT(printed, testing::ContainsRegex("AB-2 +Bábika +1\\.20"));
    EXPECT_THAT(printed, testing::ContainsRegex("Suma +13\\.70"));
    EXPECT_THAT(printed, testing::ContainsRegex("Prijaté +20\\.00"));
    EXPECT_THAT(printed, testing::ContainsRegex("Vydať +6\\.30"));
}

// The sale is recorded before the receipt is printed, and a print that fails takes nothing back.
TEST_F(ReceiptPrintingTest, FailedPrintIsReportedAndTheSaleStaysRecorded) {
    settings_->SetPrintReceipts(Kramo::ReceiptPrinting::Always);
    struct Case {
        std::string printer;
        std::string report;
    };
    const Case cases[] = {
        {"Chyba" + token_, "Účet sa nepodarilo vytlačiť na tlačiarni „Chyba" + token_ + "“: .+"},
        // The test server has no default printer.
        {"", "Účet sa nepodarilo vytlačiť: nie je nastavená žiadna predvolená tlačiareň\\."},
    };
    int number = 0;
    for (const Case& c : cases) {
        settings_->SetReceiptPrinterName(c.printer);
        const Item item = AddItem(++number, "Kočík", 12.5);
        checkout_.FinishCheckout({item});
        ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(number)) << c.printer;
        EXPECT_THAT(boxes_.ShownBoxes().back().detail, MatchesRegex(c.report));
        EXPECT_EQ(Store().GetItem(item.ID).STATUS, Kramo::Sold);
        EXPECT_THAT(Documents(), SizeIs(number));
    }
    EXPECT_THAT(log_.Text(), testing::ContainsRegex("ReceiptPrinter: '.*' not printed on 'Chyba"));

    // A scheduler that takes the connection and never answers holds the desk a few seconds.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(silent, 4), 0);
    ::getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);
    cupsSetServer(("127.0.0.1:" + std::to_string(ntohs(address.sin_port))).c_str());
    settings_->SetReceiptPrinterName(printer_);
    const Item item = AddItem(++number, "Kočík", 12.5);
    checkout_.FinishCheckout({item});
    cupsSetServer(nullptr);
    ::close(silent);
    ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(number));
    EXPECT_THAT(boxes_.ShownBoxes().back().detail, HasSubstr("tlačový server neodpovedá."));
    EXPECT_EQ(Store().GetItem(item.ID).STATUS, Kramo::Sold);
}

TEST_F(ReceiptPrintingTest, QuestionAnsweredNoPrintsNothing) {
    settings_->SetPrintReceipts(Kramo::ReceiptPrinting::Ask);
    boxes_.AnswerQuestion(false);
    const Item item = AddItem(1, "Kočík", 12.5);
    checkout_.FinishCheckout({item});

    ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(1));
    EXPECT_EQ(boxes_.ShownBoxes()[0].kind, "question");
    EXPECT_EQ(boxes_.ShownBoxes()[0].text, "Vytlačiť účet na tlačiarni „" + printer_ + "“?");
    EXPECT_EQ(boxes_.ShownBoxes()[0].detail, "Tlač účtu");
    EXPECT_THAT(JobTitles(), SizeIs(0));
    EXPECT_EQ(Store().GetItem(item.ID).STATUS, Kramo::Sold);
    EXPECT_THAT(Documents(), SizeIs(1));
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
    purchase.Add(AddItem(6, "Vlak", 3.0));

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
    // Typed without a separator, "CD05" is item 5 of "CD0" or item 05 of "CD": refused, where
    // a separator says which.
    const auto addSellerWithItem5 = [this](const char* code) {
        Kramo::Seller seller;
        seller.SHORT_CODE = code;
        Store().AddSeller(seller);
        Item item;
        item.NUMBER = 5;
        item.STATUS = Kramo::InStock;
        Store().AddItem(item, seller.ID);
        return item.ID;
    };
    const int cd = addSellerWithItem5("CD");
    const int cd0 = addSellerWithItem5("CD0");
    sellers.Reload(Store().GetSellers());
    EXPECT_EQ(Kramo::ItemScan::Find(Store(), sellers, purchase, "CD05").refusal,
              ScanRefusal::AmbiguousCode);
    EXPECT_EQ(Kramo::ItemScan::Find(Store(), sellers, purchase, "CD0 5").item->ID, cd0);
    EXPECT_EQ(Kramo::ItemScan::Find(Store(), sellers, purchase, "CD-05").item->ID, cd);
}

// The hand-in desk only takes goods in, the return desk only gives unsold goods back, each in
// the seller's state in which the "prebrate" box makes the same move; anything else says why.
TEST(ItemMarking, DesksMoveItemsOneWayOnlyAndSayWhyNot) {
    using Kramo::ItemMarking;
    using Kramo::ScanDesk;
    using Kramo::ScanRefusal;
    struct Case {
        ScanDesk desk;
        int32_t seller;
        int32_t item;
        ScanRefusal refusal;
        int32_t after;
    };
    const Case cases[] = {
        {ScanDesk::HandIn, Kramo::NotSelling, Kramo::Unassigned, ScanRefusal::None, Kramo::InStock},
        {ScanDesk::HandIn, Kramo::Selling, Kramo::InStock, ScanRefusal::AlreadyAccepted,
         Kramo::InStock},
        {ScanDesk::HandIn, Kramo::NotSelling, Kramo::Returned, ScanRefusal::Returned,
         Kramo::Returned},
        {ScanDesk::HandIn, Kramo::Selling, Kramo::Unassigned, ScanRefusal::SellerSelling,
         Kramo::Unassigned},
        {ScanDesk::HandIn, Kramo::HandedBack, Kramo::Unassigned, ScanRefusal::SellerHandedBack,
         Kramo::Unassigned},
        {ScanDesk::Return, Kramo::Selling, Kramo::InStock, ScanRefusal::None, Kramo::Returned},
        {ScanDesk::Return, Kramo::Selling, Kramo::Returned, ScanRefusal::AlreadyReturned,
         Kramo::Returned},
        {ScanDesk::Return, Kramo::Selling, Kramo::Sold, ScanRefusal::Sold, Kramo::Sold},
        {ScanDesk::Return, Kramo::Selling, Kramo::Unassigned, ScanRefusal::NotAccepted,
         Kramo::Unassigned},
        {ScanDesk::Return, Kramo::NotSelling, Kramo::InStock, ScanRefusal::SellerNotSelling,
         Kramo::InStock},
        {ScanDesk::Return, Kramo::Selling, Kramo::Undefined, ScanRefusal::UnknownState,
         Kramo::Undefined},
        {ScanDesk::Find, Kramo::HandedBack, Kramo::Sold, ScanRefusal::None, Kramo::Sold},
    };
    for (const Case& c : cases) {
        const ItemMarking::Verdict verdict = ItemMarking::Scanned(c.desk, c.seller, c.item);
        EXPECT_EQ(verdict.refusal, c.refusal) << static_cast<int>(c.desk) << c.seller << c.item;
        EXPECT_EQ(verdict.status, c.after) << static_cast<int>(c.desk) << c.seller << c.item;
    }
    // Every move a desk makes is one the check box makes too.
    for (const ScanDesk desk : {ScanDesk::HandIn, ScanDesk::Return}) {
        for (int32_t seller = 0; seller < Kramo::SellerStatusCount; ++seller) {
            for (int32_t item = 0; item <= Kramo::ItemStatusCount; ++item) {
                const ItemMarking::Verdict verdict = ItemMarking::Scanned(desk, seller, item);
                if (verdict.refusal == ScanRefusal::None) {
                    EXPECT_EQ(ItemMarking::Toggled(seller, item), verdict.status);
                }
            }
        }
    }

    // A seller's code or name shows the seller as typed; at a desk anything else is a scan.
    Kramo::SellerList sellers;
    Kramo::Seller anna;
    anna.SHORT_CODE = "AB";
    anna.NAME = "Anna";
    sellers.Reload({anna});
    EXPECT_FALSE(ItemMarking::IsScan(ScanDesk::Find, sellers, "Anna"));
    EXPECT_TRUE(ItemMarking::IsScan(ScanDesk::HandIn, sellers, "Anna"));
    EXPECT_FALSE(ItemMarking::IsScan(ScanDesk::Return, sellers, "ab"));
    EXPECT_FALSE(ItemMarking::IsScan(ScanDesk::HandIn, sellers, " "));
    EXPECT_TRUE(ItemMarking::IsScan(ScanDesk::Find, sellers, "ab 2"));
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
