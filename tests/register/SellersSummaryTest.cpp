#include "register/SellersSummary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "DocumentFixture.h"
#include "common/PdfReadBack.h"
#include "core/StorageExceptions.h"
#include "register/PdfDocuments.h"

namespace {

using KramoTest::PdfReadBack;
using testing::HasSubstr;
using testing::Not;

// The fixture's selling seller AB, a handed-back seller HB whose sales bear a sale fee and a
// participation fee, and three sellers not selling yet, coded b, A and c.
class SellersSummaryTest : public KramoTest::DocumentFixture {
  protected:
    SellersSummaryTest() {
        Kramo::ItemCategory toys;
        toys.ID = 2;
        toys.CODE = 'b';
        toys.NAME = "Hračky";
        toys.SalePercent = 10.0;
        Store().itemCategories.push_back(toys);
        Kramo::SellerCategory supporter;
        supporter.ID = 12;
        supporter.NAME = "Podporovateľ";
        supporter.SalePercentFactor = 1.0;
        supporter.ParticipationFee = 6.5;
        Store().sellerCategories.push_back(supporter);
    }

    Kramo::Seller AddSeller(int id, const char* code, int32_t status, int categoryId = 11) {
        Kramo::Seller seller;
        seller.ID = id;
        seller.SHORT_CODE = code;
        seller.NAME = std::string("Predajca ") + code;
        seller.COMMENT = std::string("pozn. ") + code;
        seller.SELLER_CATEGORY_ID = categoryId;
        seller.STATUS = status;
        Store().PutSeller(seller);
        return seller;
    }

    void AddItemOf(int sellerId, double price, int32_t status, int categoryId = 1) {
        Kramo::Item item;
        item.NUMBER = ++lastNumber_;
        item.NAME = "Vec";
        item.PRICE = price;
        item.STATUS = status;
        item.ITEM_CATEGORY_ID = categoryId;
        Store().AddItem(item, sellerId);
    }

    void AddTypicalSale() {
        AddItem(1, "Kočík", 10.0, Kramo::Sold);
        AddItem(2, "Bunda", 5.0, Kramo::InStock);
        AddSeller(20, "HB", Kramo::HandedBack, 12);
        AddItemOf(20, 100.0, Kramo::Sold, 2);
        AddSeller(31, "b", Kramo::NotSelling);
        AddSeller(32, "A", Kramo::NotSelling);
        AddSeller(33, "c", Kramo::NotSelling);
        AddItemOf(32, 5.0, Kramo::Unassigned);
    }

    // The summary's text, all pages; the document is checked to be sound.
    std::string WriteSummary() {
        const std::string path = Kramo::DocumentsFolder(*settings_) + "summary.pdf";
        EXPECT_TRUE(Kramo::WriteDocument(*settings_, path, [this](Kramo::PdfWrapperBase& writer) {
            Kramo::WriteSellersSummary(writer, Store(), *settings_);
        }));
        std::string report;
        EXPECT_TRUE(PdfReadBack(path).StructureIsSound(report)) << report;
        pages_ = PdfReadBack(path).Pages();
        return PdfReadBack(path).Text();
    }

    // The rows of the seller table, their cells separated by one blank.
    static std::vector<std::string> TableRows(const std::string& text) {
        const std::string table = text.substr(
            text.find("manip") + 5, text.find("Ďalšie štatistické údaje") - text.find("manip") - 5);
        std::vector<std::string> rows;
        std::istringstream lines(table);
        for (std::string line; std::getline(lines, line);) {
            line = std::regex_replace(line, std::regex("^ +| +$"), "");
            line = std::regex_replace(line, std::regex("  +"), " ");
            if (!line.empty()) {
                rows.push_back(line);
            }
        }
        return rows;
    }

    std::vector<std::string> pages_;

  private:
    int lastNumber_ = 100;
};

TEST_F(SellersSummaryTest, GroupsSellersByStateInCodeOrderWithTheirSettlement) {
    AddTypicalSale();
    const std::string text = WriteSummary();
    EXPECT_THAT(text, HasSubstr("Počet predávajúcich dohromady: 5"));
    // Group rows with counts, each group in code order regardless of letter case; the amounts
    // whole, the fee cells of a kind the seller did not pay empty.
    const std::vector<std::string> rows = TableRows(text);
    EXPECT_THAT(
        rows, testing::ElementsAre("3 ks - Zatial nepredava", "A Predajca A pozn. A Predajca",
                                   "b Predajca b pozn. b Predajca", "c Predajca c pozn. c Predajca",
                                   "1 ks - Predava", "AB Anna Nováková Predajca 10.00 0.60",
                                   "1 ks - Vydany spat",
                                   "HB Predajca HB pozn. HB Podporovateľ 100.00 / 16.50 10.00"));
}

TEST_F(SellersSummaryTest, EmptyGroupsKeepTheirRow) {
    const std::string text = WriteSummary();
    EXPECT_THAT(text, HasSubstr("0 ks - Zatial nepredava"));
    EXPECT_THAT(text, HasSubstr("1 ks - Predava"));
    EXPECT_THAT(text, HasSubstr("0 ks - Vydany spat"));
}

TEST_F(SellersSummaryTest, StatisticsAddUpItemsFeesAndProfit) {
    AddTypicalSale();
    const std::string text = WriteSummary();
    for (const char* line : {
             "Ďalšie štatistické údaje:",
             "Počet predajcov: 5",
             "Kusov tovaru: 4",  // the unassigned item counts too
             "Cena tovaru spolu: 120.00 EUR",
             "Priemerne kusov tovaru na predajcu: 0",
             "Priemerná cena tovaru na predajcu: 24 EUR",
             "Suma získaná z % poplatku za predané veci: 10.00 EUR",
             "Suma získaná za manipulačný poplatok za kusy: 0.60 EUR",
             // The participation fee counts in the profit only.
             "Zisk spolu: 17.10",
             "Kusov v 'Nezaradene' : 1 , cena tovaru : 5 EUR",
             "Kusov v 'Skladom' : 1 , cena tovaru : 5 EUR",
             "Kusov v 'Predane' : 2 , cena tovaru : 110 EUR",
             "Kusov v 'Dohladat' : 0 , cena tovaru : 0 EUR",
         }) {
        EXPECT_THAT(text, HasSubstr(line));
    }
    EXPECT_THAT(text, Not(HasSubstr("Nedefinovane")));
}

// A large bazaar's sums to the cent: 5,000 items of 17.30 come to 86,500.00.
TEST_F(SellersSummaryTest, TotalsOfThousandsOfItemsAreExactToTheCent) {
    AddSeller(40, "VE", Kramo::Selling);
    for (int i = 0; i < 5000; ++i) {
        AddItemOf(40, 17.30, i % 2 ? Kramo::Sold : Kramo::InStock);
    }
    const std::string text = WriteSummary();
    EXPECT_THAT(text, HasSubstr("Cena tovaru spolu: 86500.00 EUR"));
    EXPECT_THAT(text, HasSubstr("Kusov v 'Predane' : 2500 , cena tovaru : 43250 EUR"));
}

struct AverageCase {
    int sellers;
    int items;
    const char* itemAverage;
    const char* priceAverage;
};

void PrintTo(const AverageCase& c, std::ostream* out) {
    *out << c.sellers << " sellers, " << c.items << " items";
}

class SummaryAveragesTest : public SellersSummaryTest,
                            public testing::WithParamInterface<AverageCase> {};

TEST_P(SummaryAveragesTest, AveragesPerSeller) {
    const AverageCase& c = GetParam();
    if (c.sellers == 0) {
        Store().RemoveSeller(seller_.ID);
    }
    for (int id = 2; id <= c.sellers; ++id) {
        AddSeller(40 + id, std::to_string(id).c_str(), Kramo::NotSelling);
    }
    for (int item = 0; item < c.items; ++item) {
        AddItem(item + 1, "Vec", 10.0, Kramo::InStock);
    }
    const std::string text = WriteSummary();
    EXPECT_THAT(text, HasSubstr(std::string("Priemerne kusov tovaru na predajcu: ") +
                                c.itemAverage + "\n"));
    EXPECT_THAT(text, HasSubstr(std::string("Priemerná cena tovaru na predajcu: ") +
                                c.priceAverage + " EUR"));
}

// Without any seller there is nothing to divide by.
INSTANTIATE_TEST_SUITE_P(Sellers, SummaryAveragesTest,
                         testing::Values(AverageCase{0, 0, "0", "0"},
                                         AverageCase{3, 10, "3", "33"}));

TEST_F(SellersSummaryTest, LogsTheRunningSums) {
    AddTypicalSale();
    WriteSummary();
    const std::string log = log_.Text();
    EXPECT_THAT(log, HasSubstr("After seller AB - WholeSoldSumPercentageAllSellersSum : 0.00 "
                               "PerItemAllSellersSum: 0.60\n"));
    EXPECT_THAT(log, HasSubstr("After seller HB - WholeSoldSumPercentageAllSellersSum : 10.00 "
                               "PerItemAllSellersSum: 0.60\n"));
    EXPECT_THAT(log, HasSubstr("Counting up sum\n"));
    EXPECT_THAT(log, HasSubstr("After seller HB - Predajca HB : 115\n"));
}

TEST_F(SellersSummaryTest, StatisticsMoveToANewPageAtTheBottom) {
    // 49 sellers and three group rows end the table at about y 90: the fifth statistics line
    // would come below y 98.
    for (int id = 100; id < 148; ++id) {
        AddSeller(id, ("S" + std::to_string(id)).c_str(), Kramo::NotSelling);
    }
    WriteSummary();
    ASSERT_EQ(pages_.size(), 2u);
    EXPECT_THAT(pages_[0], HasSubstr("Cena tovaru spolu:"));
    EXPECT_THAT(pages_[0], Not(HasSubstr("Priemerne kusov")));
    EXPECT_THAT(pages_[1], HasSubstr("Priemerne kusov tovaru na predajcu: 0"));
    EXPECT_THAT(pages_[1], HasSubstr("Dokument vytvorený"));
}

// One seller whose category is gone: its row stays without amounts, the others are summed, the
// document is written, and the seller is named.
TEST_F(SellersSummaryTest, SellerThatCannotBeSettledIsNamedAndTheOthersAreSummed) {
    AddTypicalSale();
    AddSeller(40, "ZL", Kramo::Selling, 99);  // a category the store does not have
    AddItemOf(40, 7.0, Kramo::Sold);
    const std::string text = WriteSummary();
    EXPECT_THAT(TableRows(text), testing::Contains("ZL Predajca ZL pozn. ZL"));
    EXPECT_THAT(TableRows(text),
                testing::Contains("HB Predajca HB pozn. HB Podporovateľ 100.00 / 16.50 10.00"));
    EXPECT_THAT(text, HasSubstr("Zisk spolu: 17.10"));
    EXPECT_THAT(text, HasSubstr("Kusov tovaru: 5"));
    ASSERT_EQ(boxes_.ShownBoxes().size(), 1u);
    EXPECT_EQ(boxes_.ShownBoxes()[0].text,
              "Niektorí predajcovia v dokumente chýbajú alebo nie sú úplní.");
    EXPECT_EQ(boxes_.ShownBoxes()[0].detail,
              "Údaje týchto predajcov sa nepodarilo prečítať:\nZL (ID 40): Wrong Seller category");
}

// The categories of sellers cannot be read: reported, and every seller keeps its row.
class CategoriesFailStore : public KramoTest::MemoryStore {
  public:
    std::vector<Kramo::SellerCategory> GetSellerCategories() override {
        throw Kramo::DataStorageException();
    }
};

TEST_F(SellersSummaryTest, UnreadableSellerCategoriesAreReported) {
    CategoriesFailStore store;
    store.PutSeller(seller_);
    const std::string path = Kramo::DocumentsFolder(*settings_) + "summary.pdf";
    EXPECT_TRUE(Kramo::WriteDocument(*settings_, path, [&](Kramo::PdfWrapperBase& writer) {
        Kramo::WriteSellersSummary(writer, store, *settings_);
    }));
    ASSERT_EQ(boxes_.ShownBoxes().size(), 2u);
    EXPECT_EQ(boxes_.ShownBoxes()[0].text, "Program nemohol vykonat operaciu.");
    EXPECT_EQ(boxes_.ShownBoxes()[0].detail, "DataStorageException");
    EXPECT_THAT(boxes_.ShownBoxes()[1].detail, HasSubstr("AB (ID 4): Wrong Seller category"));
    const std::string text = PdfReadBack(path).Text();
    EXPECT_THAT(text, HasSubstr("Počet predávajúcich dohromady: 1"));
    EXPECT_THAT(text, HasSubstr("Anna Nováková"));
    EXPECT_THAT(text, HasSubstr("Počet predajcov: 1"));
}

}  // namespace
