#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "DocumentFixture.h"
#include "common/PdfReadBack.h"
#include "register/CashUpDocument.h"
#include "register/CashUpRules.h"
#include "register/Checkout.h"
#include "register/PdfDocuments.h"
#include "register/SellersSummary.h"
#include "storage/CachedDataTextfile.h"
#include "support/Clock.h"
#include "support/FormatText.h"

namespace {

using Kramo::CashUp;
using Kramo::RecordedSale;
using Kramo::Timestamp;
using KramoTest::PdfReadBack;
using testing::ElementsAre;
using testing::HasSubstr;

RecordedSale At(const char* desk, int day, int hour, int items, double total,
                bool cancelled = false, int forced = 0, double forcedTotal = 0.0) {
    RecordedSale sale;
    sale.desk = desk;
    sale.time.Year = 2026;
    sale.time.Month = 5;
    sale.time.Day = day;
    sale.time.Hour = hour;
    sale.time.Minute = 59;
    sale.itemCount = items;
    sale.total = total;
    sale.cancelled = cancelled;
    sale.forcedCount = forced;
    sale.forcedTotal = forcedTotal;
    return sale;
}

std::string Describe(const CashUp& cashUp) {
    std::string text =
        Kramo::FormatText("%i %.2f storno %i %.2f net %.2f forced %i %.2f |", cashUp.purchases,
                          cashUp.total, cashUp.cancellations, cashUp.cancelledTotal,
                          cashUp.netTotal, cashUp.forcedCount, cashUp.forcedTotal);
    for (const CashUp::Hour& hour : cashUp.hours) {
        text +=
            Kramo::FormatText(" %i:%i/%i/%.2f", hour.hour, hour.purchases, hour.items, hour.total);
    }
    return text;
}

TEST(CashUpRules, CountsTheDesksDayByHourWithCancellationsApart) {
    const std::vector<RecordedSale> sales = {
        At("P1", 2, 9, 2, 12.5),
        At("P1", 2, 9, 1, 0.1),
        At("P1", 2, 14, 3, 0.2, false, 1, 0.2),
        At("P1", 2, 10, 1, 7.0, true),  // taken back: not in its hour
        At("P2", 2, 9, 5, 50.0),        // another desk
        At("P1", 3, 9, 5, 50.0),        // another day
        At("P1", 1, 23, 5, 50.0),
    };
    Timestamp day;
    day.Year = 2026;
    day.Month = 5;
    day.Day = 2;
    day.Hour = 18;  // the time of day of the choice does not matter
    struct Case {
        const char* desk;
        std::string expected;
    } cases[] = {
        {"P1", "4 19.80 storno 1 7.00 net 12.80 forced 1 0.20 | 9:2/3/12.60 14:1/3/0.20"},
        {"P2", "1 50.00 storno 0 0.00 net 50.00 forced 0 0.00 | 9:1/5/50.00"},
        {"P3", "0 0.00 storno 0 0.00 net 0.00 forced 0 0.00 |"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(Kramo::ComputeCashUp(sales, c.desk, day)), c.expected) << c.desk;
    }
    EXPECT_THAT(Kramo::DesksOnRecord(sales, "P2"), ElementsAre("P2", "P1"));
    EXPECT_THAT(Kramo::DesksOnRecord(sales, "Nová"), ElementsAre("Nová", "P1", "P2"));
}

// Two desks sell on one store and one of them takes a purchase back: the cash-ups of the
// desks add up to the sold value of the statistics.
class CashUpDocumentTest : public KramoTest::DocumentFixture {
  protected:
    CashUpDocumentTest() {
        data_.WriteFile("4-AB-Anna.txt",
                        "4*AB*Anna*pozn.*p*1\n1*Kočík*12*a*s\n2*Bábika*3*a*s\n3*Auto*5*a*s\n"
                        "4*Lopta*2*a*s\n");
        register_.ReplaceStore(std::make_unique<Kramo::CachedDataTextfile>(data_.Path() + "/"));
    }

    Kramo::Item ItemNumber(int number) {
        return register_.Store().GetSellerItemByNumber(4, number);
    }

    // The amount of the line that starts with the label, as the document reads back.
    static double AmountAfter(const std::string& text, const std::string& label) {
        std::smatch match;
        const std::regex line(label + " *([0-9]+\\.?[0-9]*)");
        EXPECT_TRUE(std::regex_search(text, match, line)) << label << " in:\n" << text;
        return match.empty() ? -1.0 : std::stod(match[1].str());
    }

    KramoTest::TemporaryDirectory data_;
};

TEST_F(CashUpDocumentTest, TotalsOfAllDesksAreTheSoldValueOfTheStatistics) {
    Kramo::Checkout checkout(register_, *settings_);
    settings_->SetDeskName("Pokladňa 1");
    checkout.FinishCheckout({ItemNumber(1), ItemNumber(2)});
    checkout.FinishCheckout({ItemNumber(3)});
    boxes_.AnswerQuestion(true);
    ASSERT_TRUE(checkout.CancelLastPurchase());
    settings_->SetDeskName("Pokladňa 2");
    checkout.FinishCheckout({ItemNumber(4)});

    const std::vector<RecordedSale> sales = *Kramo::ReadRecordedSales(register_);
    const Timestamp today = Kramo::CurrentTimestamp();
    const std::vector<std::string> desks = Kramo::DesksOnRecord(sales, settings_->DeskName());
    ASSERT_THAT(desks, ElementsAre("Pokladňa 2", "Pokladňa 1"));
    double desksTotal = 0.0;
    for (const std::string& desk : desks) {
        const std::optional<std::string> path = Kramo::PrintCashUp(*settings_, sales, desk, today);
        ASSERT_TRUE(path);
        const std::string text = PdfReadBack(*path).Text();
        EXPECT_THAT(text, HasSubstr("Uzávierka pokladne " + desk));
        EXPECT_THAT(text, HasSubstr("Predaj: " + settings_->SaleName()));
        desksTotal += AmountAfter(text, "Tržba po stornách:");
        if (desk == "Pokladňa 1") {
            EXPECT_THAT(text, HasSubstr("Nákupy: 2, spolu 20.00 eur"));
            EXPECT_THAT(text, HasSubstr("Storná: 1, spolu 5.00 eur"));
            EXPECT_THAT(text, testing::ContainsRegex("[0-9]{2}:00-[0-9]{2}:59 +1 +2 +15\\.00"));
        }
    }
    const std::string statistics = DocumentPath("statistika.pdf");
    ASSERT_TRUE(Kramo::WriteDocument(*settings_, statistics, [&](Kramo::PdfWrapperBase& writer) {
        Kramo::WriteSellersSummary(writer, register_.Store(), *settings_);
    }));
    EXPECT_EQ(desksTotal, 17.0);
    EXPECT_EQ(desksTotal,
              AmountAfter(PdfReadBack(statistics).Text(), "Kusov v 'Predane' : 3 , cena tovaru :"));
}

}  // namespace
