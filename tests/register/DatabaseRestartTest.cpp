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
#include "storage/DataPostgresPqxx.h"
#include "storage/DatabaseException.h"
#include "support/UniqueKey.h"

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

// A database of the former version, filled as a bazaar leaves it (two codes that differ only in
// letter case, sales, a storno), keeps every row through the upgrade script and opens as the
// current version, which sells on.
TEST(DatabaseUpgradeTest, VersionThreeDatabaseKeepsEveryRowAndOpensAfterTheUpgrade) {
    KramoTest::LogCapture log;
    KramoTest::ScriptedUserMessages boxes;
    KramoTest::PrivatePostgresServer server(KRAMO_SCHEMA_V3_FILE, "Stara kramo");
    KramoTest::TemporaryDirectory folder;
    folder.WriteFile(
        "bazaar.sql",
        "INSERT INTO sellers (\"ID\", \"SHORT_CODE\", \"NAME\", \"SELLER_CATEGORY_ID\", "
        "\"MODIFIED\", \"STATUS\") VALUES (1, 'AB', 'Anna', 11, now(), 1), "
        "(2, 'ab', 'Adam', 12, now(), 1), (3, 'CD', 'Cyril', 11, now(), 1);\n"
        "INSERT INTO items (\"ID\", \"NAME\", \"SELLER_ID\", \"PRICE\", "
        "\"ITEM_CATEGORY_ID\", \"NUMBER\", \"STATUS\", \"MODIFIED\") VALUES "
        "(1, 'Kabát', 1, 5, 1, 1, 2, now()), (2, 'Čiapka', 1, 2.5, 1, 2, 2, now()), "
        "(3, 'Sánky', 2, 12, 2, 1, 1, now()), (4, 'Lopta', 3, 1, 1, 1, 1, now());\n"
        "INSERT INTO sold (\"ID\", \"TITLE\", \"DATE\") VALUES "
        "(1, 'Sale', '2026-04-11 10:00:00'), (2, 'Storno', '2026-04-11 10:05:00');\n"
        "INSERT INTO sold_item VALUES (1, 1), (1, 2), (2, 3);\n"
        "SELECT setval(pg_get_serial_sequence(name, 'ID'), 4) FROM "
        "unnest(ARRAY['sellers', 'items', 'sold']) AS name;\n");
    server.RunScript(folder.File("bazaar.sql"));

    std::string saleName;
    const auto ignore = [](const std::exception&) {};
    try {
        Kramo::DataPostgresPqxx(server.Connection(), saleName, ignore);
        ADD_FAILURE() << "a version-3 database opened";
    } catch (const Kramo::database_exception& refusal) {
        EXPECT_STREQ(refusal.what(),
                     "Databáza má verziu schémy 3, program potrebuje verziu 4. Previeďte ju "
                     "skriptom sql/upgrade-3-to-4.sql.");
    }

    server.RunScript(KRAMO_UPGRADE_FILE);
    Kramo::DataPostgresPqxx store(server.Connection(), saleName, ignore);
    EXPECT_EQ(saleName, "Stara kramo");
    std::vector<std::string> codes;
    for (const Kramo::Seller& seller : store.GetSellers()) {
        codes.push_back(seller.SHORT_CODE + " " + seller.NAME + " " +
                        std::to_string(store.GetSellerItems(seller.ID).size()));
    }
    EXPECT_THAT(codes, testing::UnorderedElementsAre("AB Anna 2", "ab-2 Adam 1", "CD Cyril 1"));
    const std::vector<Kramo::RecordedSale> sales = store.GetRecordedSales();
    ASSERT_EQ(sales.size(), 2u);
    EXPECT_EQ(sales[0].itemCount, 2);
    EXPECT_DOUBLE_EQ(sales[0].total, 7.5);
    EXPECT_FALSE(sales[0].cancelled);
    EXPECT_TRUE(sales[1].cancelled);
    EXPECT_DOUBLE_EQ(sales[1].total, 12.0);

    Kramo::SaleRecord sale;
    sale.key = Kramo::NewUniqueKey();
    sale.itemIds = {4};
    store.StoreSale(sale);
    EXPECT_EQ(store.GetItem(4).STATUS, Kramo::Sold);
    EXPECT_EQ(store.GetRecordedSales().size(), 3u);
    EXPECT_THAT(boxes.ShownOfKind("error"), testing::IsEmpty());
}

}  // namespace
