#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "common/LogCapture.h"
#include "common/PdfReadBack.h"
#include "common/ScriptedUserMessages.h"
#include "common/TemporaryDirectory.h"
#include "core/MemoryStore.h"
#include "pdf/HPDFWrapper.h"
#include "pdf/ItemLabels.h"
#include "pdf/Receipt.h"
#include "pdf/ReceiptPage.h"
#include "pdf/SellerOverview.h"
#include "pdf/SellerStatement.h"
#include "pdf/StreamedPdfCanvas.h"

namespace {

using Kramo::Item;
using KramoTest::PdfReadBack;
using testing::ContainsRegex;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::Not;

class SaleDocumentsTest : public testing::Test {
  protected:
    SaleDocumentsTest() {
        Kramo::ItemCategory clothes;
        clothes.ID = 1;
        clothes.NAME = "Oblečenie";
        clothes.HandlingFee = 0.30;
        clothes.SalePercent = 10.0;
        store_.itemCategories = {clothes};
        category_.ID = 11;
        category_.NAME = "Predajca";
        category_.HandlingFactor = 1.0;
        category_.SalePercentFactor = 1.0;
        category_.ParticipationFee = 2.0;
        store_.sellerCategories = {category_};

        seller_.ID = 4;
        seller_.SHORT_CODE = "AB";
        seller_.NAME = "Anna Nováková";
        seller_.COMMENT = "volať večer";
        seller_.SELLER_CATEGORY_ID = 11;
        seller_.STATUS = Kramo::Selling;
        store_.PutSeller(seller_);
        writer_.SetOrigin("Jarna kramo", "PC7");
        writer_.Open(Path());
    }

    Item AddItem(int number, const char* name, double price, int32_t status, int category = 1) {
        Item item;
        item.NUMBER = number;
        item.NAME = name;
        item.PRICE = price;
        item.STATUS = status;
        item.ITEM_CATEGORY_ID = category;
        store_.AddItem(item, seller_.ID);
        return item;
    }
    void WriteStatement() {
        Kramo::WriteSellerStatement(writer_, store_, seller_, category_, "eur");
    }
    std::string Path() const { return directory_.File("doc.pdf"); }
    PdfReadBack Saved() {
        writer_.Close();
        std::string report;
        EXPECT_TRUE(PdfReadBack(Path()).StructureIsSound(report)) << report;
        return PdfReadBack(Path());
    }

    KramoTest::LogCapture log_;
    KramoTest::TemporaryDirectory directory_;
    KramoTest::MemoryStore store_;
    Kramo::SellerCategory category_;
    Kramo::Seller seller_;
    Kramo::HPDFWrapper writer_;
};

TEST_F(SaleDocumentsTest, ReceiptListsThePurchaseItsSumAndThePayment) {
    const std::vector<Item> items = {AddItem(7, "Kočík", 12.5, Kramo::InStock),
                                     AddItem(2, "Bábika", 1.2, Kramo::InStock),
                                     AddItem(15, "Šál", 2.37, Kramo::Returned)};
    Kramo::WriteReceipt(writer_, store_, items, 20.0);
    const PdfReadBack document = Saved();
    const std::vector<std::string> lines = document.Lines(0);
    ASSERT_EQ(lines.size(), 9u) << document.Text();
    EXPECT_THAT(lines[0], HasSubstr("na krame 'Jarna kramo'."));
    EXPECT_THAT(lines[1], MatchesRegex(" *# +číslo +názov +cena"));
    EXPECT_THAT(lines[2], MatchesRegex(" *1 +AB-7 +Kočík +12\\.50"));
    EXPECT_THAT(lines[3], MatchesRegex(" *2 +AB-2 +Bábika +1\\.20"));
    EXPECT_THAT(lines[4], MatchesRegex(" *3 +AB-15 +Šál +2\\.37"));
    EXPECT_THAT(lines[5], MatchesRegex(" *Suma +16\\.07"));  // the empty row shows no text
    EXPECT_THAT(lines[6], MatchesRegex(" *Prijaté +20\\.00"));
    EXPECT_THAT(lines[7], MatchesRegex(" *Vydať +3\\.93"));
    EXPECT_THAT(lines[8], HasSubstr("na počítači 'PC7'."));
    ASSERT_EQ(document.Bookmarks().size(), 2u);
    EXPECT_THAT(document.Bookmarks()[1],
                MatchesRegex("Ucet vystaveny [0-9]{4}-[0-9]+-[0-9]+ [0-9]+:[0-9]+"));
    const std::vector<KramoTest::PdfPageWords> pages = document.Words();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].width, 595.0);
    EXPECT_EQ(pages[0].height, 841.0);
}

// On a receipt printer's roll every line is there and inside the printed width, the page is as
// long as its lines with a margin above and below, and a long name is cut at a character.
TEST_F(SaleDocumentsTest, RollReceiptFitsItsWidthAndGrowsWithThePurchase) {
    Kramo::Seller other = seller_;
    other.ID = 5;
    other.SHORT_CODE = "ŽŠ";
    store_.PutSeller(other);
    Item longName =
        AddItem(1000, "Detská postieľka s matracom, baldachýnom a hniezdom", 149.0, Kramo::InStock);
    longName.SELLER_ID = other.ID;
    const std::vector<Item> few = {AddItem(7, "Kočík", 12.5, Kramo::InStock), longName};
    std::vector<Item> many = few;
    for (int number = 20; number < 30; ++number) {
        many.push_back(AddItem(number, "Šál", 2.0, Kramo::InStock));
    }
    struct Case {
        const char* key;
        double widthMm;
    };
    for (const Case& c : {Case{"roll-80", 80.0}, Case{"roll-58", 58.0}}) {
        SCOPED_TRACE(c.key);
        const Kramo::ReceiptPage& page = Kramo::ReceiptPage::ByKey(c.key);
        ASSERT_EQ(page.key, c.key);
        double heights[2] = {};
        for (const bool long_ : {false, true}) {
            const std::string path = directory_.File(std::string(c.key) + (long_ ? "l" : "s"));
            Kramo::HPDFWrapper writer;
            writer.SetOrigin("Jarna kramo", "PC7");
            writer.Open(path);
            Kramo::WriteReceipt(writer, store_, long_ ? many : few, std::nullopt, page);
            writer.Close();
            const PdfReadBack document(path);
            const std::vector<KramoTest::PdfPageWords> pages = document.Words();
            ASSERT_EQ(pages.size(), 1u);
            EXPECT_NEAR(pages[0].width, c.widthMm * 72.0 / 25.4, 0.01);
            heights[long_] = pages[0].height;
            const double mm = 72.0 / 25.4;
            double top = pages[0].height;
            double bottom = 0.0;
            for (const KramoTest::PdfWord& word : pages[0].words) {
                EXPECT_GE(word.xMin, 3.0 * mm) << word.text;
                EXPECT_LE(word.xMax, pages[0].width - 3.0 * mm) << word.text;
                top = std::min(top, word.yMin);
                bottom = std::max(bottom, word.yMax);
            }
            EXPECT_THAT(top, testing::AllOf(testing::Ge(2.0 * mm), testing::Le(8.0 * mm)));
            EXPECT_THAT(pages[0].height - bottom,
                        testing::AllOf(testing::Ge(2.0 * mm), testing::Le(8.0 * mm)));

            const std::vector<std::string> lines = document.Lines(0);
            ASSERT_EQ(lines.size(), long_ ? 17u : 7u) << document.Text();
            EXPECT_EQ(lines[0], "Jarna kramo");
            EXPECT_THAT(lines[1], MatchesRegex("Účet vystavený +[0-9]+\\.[0-9]+\\. [0-9]{4} "
                                               "[0-9]{2}:[0-9]{2}"));
            EXPECT_THAT(lines[2], MatchesRegex("AB-7 +Kočík +12\\.50"));
            // Cut after a whole character, whatever the roll leaves of the name.
            EXPECT_THAT(lines[3], MatchesRegex("ŽŠ-1000 +Detská post[^ ]*( [^ ]+)* +149\\.00"));
            EXPECT_THAT(lines[3], Not(HasSubstr("hniezdom")));
            const std::size_t sum = lines.size() - 3;
            EXPECT_THAT(lines[sum],
                        MatchesRegex("Suma +" + std::string(long_ ? "181" : "161") + "\\.50"));
            EXPECT_THAT(lines[sum + 1], MatchesRegex("Prijaté +1[68]1\\.50"));
            EXPECT_THAT(lines[sum + 2], MatchesRegex("Vydať +0\\.00"));
            EXPECT_THAT(document.Bookmarks().at(1), testing::StartsWith("Ucet vystaveny "));
        }
        EXPECT_GT(heights[1], heights[0] + 10 * page.fontPoints);
    }
}

TEST_F(SaleDocumentsTest, ReceiptOfAnItemWithoutSellerKeepsOnlyTheDecoration) {
    Item orphan = AddItem(1, "Kočík", 12.5, Kramo::InStock);
    orphan.SELLER_ID = 99;
    try {
        Kramo::WriteReceipt(writer_, store_, {orphan});
        FAIL();
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "PDF error:KramoRegister::FinishCheckout: Seller not found");
    }
    EXPECT_EQ(Saved().Lines(0).size(), 2u);
}

TEST_F(SaleDocumentsTest, ReceiptNamesTheKindOfEveryFailure) {
    class FailingStore : public KramoTest::MemoryStore {
      public:
        Kramo::Seller GetSeller(int) override { std::rethrow_exception(failure); }
        std::exception_ptr failure;
    };
    struct Case {
        std::exception_ptr failure;
        const char* message;
    };
    const Case cases[] = {
        {std::make_exception_ptr(std::runtime_error("disk")), "PDF error:disk"},
        {std::make_exception_ptr(std::out_of_range("cell")), "PDF out of range errorcell"},
        {std::make_exception_ptr(Kramo::DataStorageException()), "PDF error(unknown)"},
    };
    for (const Case& c : cases) {
        FailingStore store;
        store.failure = c.failure;
        try {
            Kramo::WriteReceipt(writer_, store, {AddItem(1, "x", 1.0, Kramo::InStock)});
            ADD_FAILURE() << c.message;
        } catch (const std::runtime_error& failure) {
            EXPECT_STREQ(failure.what(), c.message);
        }
    }
}

TEST_F(SaleDocumentsTest, StatementShowsItemsFeesAndPayout) {
    AddItem(1, "Kočík", 12.5, Kramo::InStock);
    AddItem(2, "Bábika", 1.20, Kramo::Sold);
    AddItem(3, "Šál", 2.37, Kramo::Sold);
    AddItem(4, "Nezaradená vec", 9.0, Kramo::Unassigned);
    WriteStatement();
    const PdfReadBack document = Saved();
    const std::string page = document.Pages().at(0);
    EXPECT_THAT(page, HasSubstr("Predavajuci: AB - Anna Nováková (Predajca), stav 'Predava'"));
    EXPECT_THAT(page, HasSubstr("( volať večer )"));
    EXPECT_THAT(page, ContainsRegex("Stav dna: +[0-9]+\\.[0-9]+\\. [0-9]{4} [0-9]{2}:[0-9]{2}"));
    EXPECT_THAT(page, ContainsRegex("cislo +nazov +cena +kat +stav +predane"));
    // The narrow columns of category and state cut their texts.
    EXPECT_THAT(page, ContainsRegex("1 +Kočík +12\\.50 +Obleče +Skladom\n"));
    EXPECT_THAT(page, ContainsRegex("2 +Bábika +1\\.20 +Obleče +Predane +1\\.20\n"));
    EXPECT_THAT(page, ContainsRegex("4 +Nezaradená vec +9\\.00 +Obleče +Nezarade\n"));
    // The plain sum of the sold prices, while the settlement starts from its rounded 3.55.
    EXPECT_THAT(page, ContainsRegex("Súčet predaných vecí +3\\.57\n"));
    EXPECT_THAT(
        page,
        ContainsRegex(
            "Manipulacny poplatok 0\\.30 eur za kazdy kus \"Oblečenie\" \\(3 ks\\) +- +0\\.90\n"
            " += +2\\.65\n"));
    EXPECT_THAT(page, ContainsRegex("Poplatok - 10\\.00% z ceny za kazdy predany kus "
                                    "\"Oblečenie\" \\(2 ks\\) +- +0\\.35\n += +2\\.30\n"));
    EXPECT_THAT(page,
                ContainsRegex("Manipulacny poplatok za ucast - 2\\.00 +- +2\\.00\n += +0\\.30\n"));
    EXPECT_THAT(page, ContainsRegex("Celkom vyplatene \\(eur\\) : +0\\.30\n"));
    // pdftotext reads the no-break space after "a" back as a space.
    EXPECT_THAT(page, HasSubstr("Nepredané veci a peniaze prevzal :"));
    EXPECT_THAT(document.Bookmarks(), ElementsAre("Kramo", "AB - Anna Novakova"));
}

TEST_F(SaleDocumentsTest, StatementOfASellerWithoutItems) {
    seller_.STATUS = 3;
    WriteStatement();
    const std::string page = Saved().Pages().at(0);
    EXPECT_THAT(page, HasSubstr("stav '?'"));
    EXPECT_THAT(page, ContainsRegex("cislo +nazov +cena +kat +stav +predane\n"));
    EXPECT_THAT(page, ContainsRegex("Súčet predaných vecí +0\\.00\n"));
    // The participation fee exceeds the sales: the seller owes it, said without a minus sign.
    EXPECT_THAT(page, ContainsRegex("Predajca dlhuje \\(eur\\) : +2\\.00\n"));
    EXPECT_THAT(page, Not(HasSubstr("vyplatene")));
}

TEST_F(SaleDocumentsTest, AmountsOfHundredsAreNeverCut) {
    AddItem(1, "Bicykel", 1234.56, Kramo::Sold);
    category_.ParticipationFee = 0.0;
    WriteStatement();
    const std::string page = Saved().Pages().at(0);
    EXPECT_THAT(page, ContainsRegex("Bicykel +1234\\.56 +Obleče +Predane +1234\\.56\n"));
    EXPECT_THAT(page, ContainsRegex("Súčet predaných vecí +1234\\.56\n"));
    // 1234.55 less 0.30 and 123.45
    EXPECT_THAT(page, ContainsRegex("= 1110\\.80\n"));
    EXPECT_THAT(page, ContainsRegex("Celkom vyplatene \\(eur\\) : +1110\\.80\n"));
}

TEST_F(SaleDocumentsTest, StatementStopsAtAnItemOfADeletedCategory) {
    AddItem(1, "Kočík", 12.5, Kramo::InStock);
    AddItem(2, "Bábika", 1.20, Kramo::Sold, 77);
    EXPECT_THROW(WriteStatement(), Kramo::WrongItemCategoryException);
    // The decoration and the three heading lines were saved.
    EXPECT_EQ(Saved().Lines(0).size(), 5u);
}

// One seller without its category and one that is gone: the overview holds every other
// statement, and one box names both.
TEST_F(SaleDocumentsTest, OverviewGoesOnPastSellersThatCannotBeRead) {
    KramoTest::ScriptedUserMessages boxes;
    Kramo::Seller broken = seller_;
    broken.ID = 5;
    broken.SHORT_CODE = "ZL";
    broken.SELLER_CATEGORY_ID = 99;
    store_.PutSeller(broken);
    Kramo::Seller other = seller_;
    other.ID = 6;
    other.SHORT_CODE = "CD";
    other.NAME = "Cyril";
    store_.PutSeller(other);
    Kramo::WriteSellerOverview(writer_, store_, {4, 5, 77, 6}, "eur");
    EXPECT_THAT(Saved().Bookmarks(), ElementsAre("Kramo", "AB - Anna Novakova", "CD - Cyril"));
    ASSERT_EQ(boxes.ShownBoxes().size(), 1u);
    EXPECT_EQ(boxes.ShownBoxes()[0].detail,
              "Údaje týchto predajcov sa nepodarilo prečítať:\n"
              "ZL (ID 5): Wrong Seller category\nID 77: Wrong Seller");
}

TEST_F(SaleDocumentsTest, LongStatementContinuesWithItsFeeTable) {
    for (int number = 1; number <= 80; ++number) {
        AddItem(number, "Vec", 1.0, number % 2 == 0 ? Kramo::Sold : Kramo::InStock);
    }
    WriteStatement();
    const PdfReadBack document = Saved();
    ASSERT_EQ(document.Pages().size(), 2u);
    EXPECT_THAT(document.Pages()[1], ContainsRegex("cislo +nazov +cena +kat +stav +predane"));
    EXPECT_THAT(document.Pages()[1], ContainsRegex("Súčet predaných vecí +40\\.00\n"));
    EXPECT_THAT(document.Bookmarks(),
                ElementsAre("Kramo", "AB - Anna Novakova", "AB - Anna Novakova"));
}

// Every label scans to its item from an office print and from a thermal label printer, none
// is missing or doubled, and the first one starts at the free position of a used sheet. The
// sheets go to the file page by page; a failure half-way keeps the sheets drawn before it.
TEST_F(SaleDocumentsTest, LabelsScanToTheirItemsAtOfficeAndThermalResolutions) {
    std::vector<Kramo::ItemLabel> labels;
    std::vector<std::string> expected;
    for (int number = 1; number <= 30; ++number) {
        const bool second = number > 15;
        const std::string barcode = (second ? "KR1234567" : "KR000004") +
                                    std::string(number < 10 ? "000" : "00") +
                                    std::to_string(number);
        labels.push_back({second ? "ŽŠ" : "AB", number, "12.50 eur",
                          "Detský kočík s dlhým názvom, ktorý sa na štítok nezmestí celý",
                          barcode});
        expected.push_back(barcode);
    }
    labels.back().number = 1000;
    labels.front().name = "Hračka \xC3 \xF0\x9F\x98\x80 čln";  // a cut character, an emoji
    const std::string path = directory_.File("labels.pdf");
    const auto drawLabels = [&](std::size_t count) {
        Kramo::WriteStreamedPdf(path, "Jarna kramo", "PC7", [&](Kramo::PdfCanvas& canvas) {
            Kramo::LabelSheets sheets(canvas, Kramo::LabelLayout::ByKey("a4-3x8"), 20);
            for (std::size_t index = 0; index < labels.size(); ++index) {
                if (index == count) {
                    throw std::runtime_error("store gone");
                }
                sheets.Add(labels[index]);
            }
        });
    };
    drawLabels(labels.size());
    const PdfReadBack document(path);
    std::string report;
    EXPECT_TRUE(document.StructureIsSound(report)) << report;
    ASSERT_EQ(document.Pages().size(), 3u);
    for (const int dotsPerInch : {300, 203}) {
        std::vector<std::string> scanned = document.Barcodes(dotsPerInch);
        std::sort(scanned.begin(), scanned.end());
        EXPECT_EQ(scanned, expected) << dotsPerInch << " dpi";
    }
    // Five free places on the used sheet (positions 20 to 24), a full sheet, one label.
    EXPECT_THAT(document.Pages()[0], ContainsRegex("AB-5"));
    EXPECT_THAT(document.Pages()[0], Not(ContainsRegex("AB-6")));
    EXPECT_THAT(document.Pages()[0], ContainsRegex("Hračka \\? .* čln"));
    EXPECT_THAT(document.Pages()[2], ContainsRegex("ŽŠ-1000 +12.50 eur"));
    EXPECT_THAT(document.Pages()[2], ContainsRegex("Detský kočík"));
    EXPECT_THAT(document.Pages()[2], ContainsRegex("Jarna kramo"));
    EXPECT_THAT(document.Text(), Not(ContainsRegex("nezmestí celý")));
    EXPECT_THAT(document.Bookmarks(),
                ElementsAre("Kramo", "Štítky, hárok 1", "Štítky, hárok 2", "Štítky, hárok 3"));

    EXPECT_THROW(drawLabels(10), std::runtime_error);
    EXPECT_EQ(PdfReadBack(path).Barcodes(300).size(), 10u);
}

}  // namespace
