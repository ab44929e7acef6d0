#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "common/LogCapture.h"
#include "common/PostgresTestDatabase.h"
#include "common/PrivatePostgresServer.h"
#include "common/ScriptedUserMessages.h"
#include "common/TemporaryDirectory.h"
#include "core/StorageExceptions.h"
#include "register/Checkout.h"
#include "register/KramoRegister.h"
#include "register/SettingsApplication.h"
#include "settings/KramoSettings.h"

namespace {

using Kramo::Item;
using testing::Contains;
using testing::SizeIs;

constexpr const char* DatabaseProblem = "Problem s databazou, prosim skuste opat.";

class IgnoringReporter : public Kramo::ExceptionReporter {
  public:
    void HandleException(const std::exception&) override {}
};

// One cash desk on a PostgreSQL server of the test's own, opened as the program opens it: the
// settings name the database and ApplySettings opens the store.
class DatabaseRestartTest : public testing::Test {
  protected:
    DatabaseRestartTest() { KramoTest::ChooseDatabase(settings_, server_.Connection()); }

    void OpenStore() { Kramo::ApplySettings(settings_, register_, nullptr); }

    // A seller with eight items in stock; their IDs.
    std::vector<Item> AddStock() {
        Kramo::Seller seller;
        seller.SHORT_CODE = "AB";
        seller.NAME = "Anna Nováková";
        seller.SELLER_CATEGORY_ID = 11;
        seller.STATUS = Kramo::Selling;
        const int sellerId = register_.Store().AddSeller(seller);
        std::vector<Item> items;
        for (int number = 1; number <= 8; ++number) {
            Item item;
            item.NUMBER = number;
            item.NAME = "Kabát " + std::to_string(number);
            item.PRICE = 5.0 * number;
            item.ITEM_CATEGORY_ID = 1;
            item.STATUS = Kramo::InStock;
            register_.Store().AddItem(item, sellerId);
            items.push_back(item);
        }
        return items;
    }

    // As the checkout window finishes a purchase: the failure is caught and the purchase kept.
    bool Finish(const std::vector<Item>& purchase) {
        try {
            checkout_.FinishCheckout(purchase);
            return true;
        } catch (const std::exception& failure) {
            failures_.push_back(failure.what());
            return false;
        }
    }

    // Sold rows with their items, "sale: item item ..." in sale order; the items sold.
    std::string RecordedSales() const {
        return server_.Scalar(
            "SELECT coalesce(string_agg(line, ' | ' ORDER BY id), '') FROM ("
            "  SELECT sold.\"ID\" AS id, string_agg(items.\"NUMBER\"::text, ' ' "
            "    ORDER BY items.\"NUMBER\") AS line"
            "  FROM sold JOIN sold_item ON sold_item.\"SOLD_ID\" = sold.\"ID\""
            "  JOIN items ON items.\"ID\" = sold_item.\"ITEM_ID\" GROUP BY sold.\"ID\") AS sales");
    }
    std::string SoldItems() const {
        return server_.Scalar(
            "SELECT coalesce(string_agg(\"NUMBER\"::text, ' ' ORDER BY \"NUMBER\"), '') "
            "FROM items WHERE \"STATUS\" = 2");
    }
    std::size_t Receipts() const {
        const auto entries =
            std::filesystem::directory_iterator(programDirectory_.File("documents"));
        return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
    }
    std::vector<std::string> ErrorTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes_.ShownOfKind("error")) {
            texts.push_back(box.text);
        }
        return texts;
    }

    KramoTest::LogCapture log_;
    KramoTest::ScriptedUserMessages boxes_;
    KramoTest::TemporaryDirectory programDirectory_;
    KramoTest::PrivatePostgresServer server_{KRAMO_SCHEMA_FILE, "Restartovana kramo"};
    IgnoringReporter reporter_;
    Kramo::KramoSettings settings_{reporter_, programDirectory_.Path() + "/"};
    Kramo::KramoRegister register_;
    Kramo::Checkout checkout_{register_, settings_};
    std::vector<std::string> failures_;
};

TEST_F(DatabaseRestartTest, SalesBeforeTheOutageStayAndTheDeskSellsAgainAfterIt) {
    OpenStore();
    EXPECT_EQ(settings_.SaleName(), "Restartovana kramo");
    const std::vector<Item> items = AddStock();
    ASSERT_TRUE(Finish({items[0], items[1]})) << log_.Text();
    ASSERT_TRUE(Finish({items[2]})) << log_.Text();
    ASSERT_EQ(RecordedSales(), "1 2 | 3");
    ASSERT_EQ(Receipts(), 2u);

    // The server goes away: the sale is reported as a database problem and thrown to the desk,
    // which keeps the purchase; nothing of it is recorded and it has no receipt.
    server_.Stop();
    EXPECT_FALSE(Finish({items[3], items[4]}));
    EXPECT_THAT(ErrorTexts(), Contains(DatabaseProblem));
    EXPECT_THAT(failures_, SizeIs(1));
    EXPECT_EQ(Receipts(), 2u);
    // Reopening the store while the server is away fails in the open, and so does the sale.
    EXPECT_THROW(OpenStore(), std::runtime_error);
    EXPECT_FALSE(register_.HasStore());
    EXPECT_FALSE(Finish({items[3], items[4]}));
    EXPECT_EQ(Receipts(), 2u);

    server_.Start();
    EXPECT_EQ(RecordedSales(), "1 2 | 3");
    EXPECT_EQ(SoldItems(), "1 2 3");
    OpenStore();
    ASSERT_TRUE(Finish({items[3], items[4]})) << log_.Text();
    EXPECT_EQ(RecordedSales(), "1 2 | 3 | 4 5");
    EXPECT_EQ(Receipts(), 3u);

    // A restart while the desk holds its session: the first action after it, the receipt's
    // reading of the seller, reports the problem; the session is opened anew for the sale,
    // which is recorded whole, with the receipt's failure shown.
    server_.Restart();
    const std::size_t boxesBefore = ErrorTexts().size();
    ASSERT_TRUE(Finish({items[5]})) << log_.Text();
    std::vector<std::string> shown = ErrorTexts();
    shown.erase(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(boxesBefore));
    EXPECT_THAT(shown,
                testing::ElementsAre(DatabaseProblem,
                                     "PDF error:KramoRegister::FinishCheckout: Seller not found"));
    EXPECT_EQ(RecordedSales(), "1 2 | 3 | 4 5 | 6");
    ASSERT_TRUE(Finish({items[6], items[7]})) << log_.Text();
    EXPECT_EQ(RecordedSales(), "1 2 | 3 | 4 5 | 6 | 7 8");
    EXPECT_EQ(SoldItems(), "1 2 3 4 5 6 7 8");
    EXPECT_EQ(Receipts(), 5u);
}

}  // namespace
