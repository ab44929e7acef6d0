#include "storage/DataPostgresPqxx.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <functional>
#include <pqxx/pqxx>
#include <random>
#include <thread>

#include "DataDirectory.h"
#include "common/LocaleScope.h"
#include "common/LogCapture.h"
#include "common/PostgresTestDatabase.h"
#include "common/ScriptedUserMessages.h"
#include "common/TcpProxy.h"
#include "core/ItemSearch.h"
#include "storage/DatabaseException.h"
#include "support/Clock.h"
#include "support/FormatText.h"
#include "support/UniqueKey.h"

namespace {

using namespace Kramo;
using KramoTest::Describe;
using KramoTest::MakeItem;
using KramoTest::MakeSeller;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;
using testing::StartsWith;

// A sale of the items under a key of its own.
SaleRecord Sale(std::vector<int> itemIds, std::string title = "Sale") {
    SaleRecord sale;
    sale.key = NewUniqueKey();
    sale.itemIds = std::move(itemIds);
    sale.title = std::move(title);
    return sale;
}

constexpr const char* DatabaseProblem = "Problem s databazou, prosim skuste opat.";

// One cash desk on a database of the test's own.
class PostgresStoreTest : public testing::Test {
  protected:
    std::unique_ptr<DataPostgresPqxx> OpenDesk() { return OpenDeskAt(database.Connection()); }
    std::unique_ptr<DataPostgresPqxx> OpenDeskAt(const PostgresConnection& connection) {
        return std::make_unique<DataPostgresPqxx>(
            connection, saleName,
            [this](const std::exception& failure) { reported.push_back(failure.what()); });
    }

    int AddSeller(const std::string& code, const std::string& name = "Predajca") {
        Seller seller = MakeSeller(code, name);
        return store->AddSeller(seller);
    }

    int AddItem(int sellerId, int number, double price = 2.5, int status = InStock) {
        Item item = MakeItem(number, "Vec " + std::to_string(number), price, 1, status);
        return store->AddItem(item, sellerId);
    }

    std::vector<std::string> ErrorBoxes() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.ShownOfKind("error")) {
            texts.push_back(box.text + " | " + box.detail);
        }
        return texts;
    }

    std::string Count(const std::string& table) {
        return database.Scalar("SELECT count(*) FROM " + table);
    }

    KramoTest::LogCapture log;
    KramoTest::ScriptedUserMessages boxes;
    KramoTest::PostgresTestDatabase database;
    std::string saleName = "Jarna kramo 2012";
    std::vector<std::string> reported;
    std::unique_ptr<DataPostgresPqxx> store = OpenDesk();
};

std::string LoggedConnectionLine(const PostgresConnection& connection) {
    return "Connecting to postgresqldb: user=" + connection.user +
           " password=*** dbname=" + connection.databaseName + " hostaddr=" + connection.address +
           " port=" + std::to_string(connection.port) +
           " connect_timeout=5 keepalives=1 keepalives_idle=2 keepalives_interval=1 "
           "keepalives_count=2 tcp_user_timeout=5000\n";
}

TEST_F(PostgresStoreTest, ConnectingTakesTheSaleNameAndNeverLogsThePassword) {
    EXPECT_EQ(saleName, "Testovacia kramo");
    EXPECT_THAT(log.Text(), HasSubstr(LoggedConnectionLine(database.Connection())));
    EXPECT_THAT(log.Text(), HasSubstr("Connected to database version 4\n"));
    EXPECT_THAT(log.Text(), Not(HasSubstr(database.Connection().password)));
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
}

TEST_F(PostgresStoreTest, DatabaseOfAnotherVersionIsRefusedWithBothVersions) {
    struct Case {
        const char* change;
        int version;
        const char* message;
    };
    const Case cases[] = {
        {"UPDATE info SET \"VERSION\" = 3", 3,
         "Databáza má verziu schémy 3, program potrebuje verziu 4. Previeďte ju skriptom "
         "sql/upgrade-3-to-4.sql."},
        {"UPDATE info SET \"VERSION\" = 2", 2,
         "Databáza má verziu schémy 2, program potrebuje verziu 4."},
        {"ALTER TABLE info ALTER \"VERSION\" DROP NOT NULL; UPDATE info SET \"VERSION\" = NULL", 1,
         "Databáza má verziu schémy 1, program potrebuje verziu 4."},
        {"DELETE FROM info", 0, "Databáza má verziu schémy 0, program potrebuje verziu 4."}};
    for (const Case& test : cases) {
        database.Execute(test.change);
        try {
            OpenDesk();
            ADD_FAILURE() << test.change << ": opened";
        } catch (const database_exception& failure) {
            EXPECT_STREQ(failure.what(), test.message);
        }
        EXPECT_THAT(log.Text(), HasSubstr("Connected to database version " +
                                          std::to_string(test.version) + "\n"))
            << test.change;
    }
    EXPECT_THAT(log.Text(), HasSubstr("Database version is not correct (4)\n"));

    // A database the program's tables are missing from says why.
    database.Execute("DROP TABLE info");
    try {
        OpenDesk();
        ADD_FAILURE() << "opened without the info table";
    } catch (const database_exception& failure) {
        EXPECT_THAT(failure.what(), HasSubstr("relation \"info\" does not exist"));
    }
    EXPECT_THAT(ErrorBoxes(), IsEmpty());  // the caller reports it
}

TEST_F(PostgresStoreTest, ConnectionThatFailsIsReportedAndThrown) {
    PostgresConnection wrongPassword = database.Connection();
    wrongPassword.password = "wrong";
    PostgresConnection noServer = database.Connection();
    noServer.port = 1;
    for (const PostgresConnection& connection : {wrongPassword, noServer}) {
        EXPECT_THROW(DataPostgresPqxx(connection, saleName, [](const std::exception&) {}),
                     DataStorageException);
    }
    const std::vector<std::string> shown = ErrorBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_THAT(shown[0],
                StartsWith(std::string(DatabaseProblem) + " | Connection to database failed: "));
    EXPECT_THAT(shown[0], HasSubstr("password authentication failed"));
    EXPECT_THAT(shown[1], HasSubstr("Connection refused"));
    EXPECT_THAT(log.Text(), HasSubstr("HandlePostgresException: Connection to database failed: "));
}

TEST_F(PostgresStoreTest, SellerRoundTripsWithQuotesBackslashesAndLongTexts) {
    const std::string names[] = {"O'Brien",      "C:\\kramo\\predajca", "''",
                                 "x' OR '1'='1", "Čierna Ľudmila",      std::string(700, 'n')};
    for (const std::string& name : names) {
        Seller seller = MakeSeller("Q'\\" + name.substr(0, 3), name, "po'znamka\\" + name, 12, 1);
        const int id = store->AddSeller(seller);
        ASSERT_GT(id, 0) << name;
        EXPECT_EQ(seller.ID, id);
        const Seller stored = store->GetSeller(id);
        EXPECT_EQ(Describe(stored), Describe(seller));
        EXPECT_EQ(store->GetSellerByCode(seller.SHORT_CODE).ID, id);

        seller.NAME += "'\\";
        seller.SHORT_CODE = "Z" + seller.SHORT_CODE;
        seller.STATUS = HandedBack;
        store->UpdateSeller(id, seller);
        EXPECT_EQ(Describe(store->GetSeller(id)), Describe(seller));
    }
    EXPECT_EQ(store->GetSellers().size(), std::size(names));
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
    EXPECT_THAT(reported, IsEmpty());
}

TEST_F(PostgresStoreTest, SellerKeepsItsTimeStampToTheSecond) {
    Seller seller = MakeSeller("AB", "Anna");
    const int id = store->AddSeller(seller);
    Timestamp expected = seller.MODIFIED;
    expected.DayOfWeek = -1;  // the database does not give the day of the week
    EXPECT_EQ(store->GetSeller(id).MODIFIED, expected);

    seller.MODIFIED = Timestamp{2025, 3, 9, 14, 5, 59, 0, 0, -1};
    store->UpdateSeller(id, seller);
    EXPECT_EQ(store->GetSeller(id).MODIFIED, (Timestamp{2025, 3, 9, 14, 5, 59, 0, -1, -1}));
}

TEST_F(PostgresStoreTest, InjectedShortCodesAndTitlesReadAndChangeNothing) {
    AddSeller("AA");
    const int other = AddSeller("BB");
    const int item = AddItem(other, 1);
    const std::string attempts[] = {"x' OR '1'='1", "AA' --", "'; DELETE FROM sellers; --",
                                    "\\' OR 1=1 --"};
    for (const std::string& code : attempts) {
        EXPECT_THROW(store->GetSellerByCode(code), WrongSellerException) << code;
    }
    store->StoreSale(Sale({item}, "Sale'); DELETE FROM items; --"));
    EXPECT_EQ(Count("sellers"), "2");
    EXPECT_EQ(Count("items"), "1");
    EXPECT_EQ(database.Scalar("SELECT \"TITLE\" FROM sold"), "Sale'); DELETE FROM items; --");
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
}

// The code is unique whatever the letter case; a taken one is refused with its reason and
// nothing is written.
TEST_F(PostgresStoreTest, ShortCodeOfNoSellerThrowsAndATakenCodeIsRefused) {
    EXPECT_THROW(store->GetSellerByCode("NONE"), WrongSellerException);
    EXPECT_THROW(store->GetSeller(4242), WrongSellerException);
    const int first = AddSeller("DUP", "Prvy");
    const int other = AddSeller("INE", "Iny");
    Seller second = MakeSeller("dup", "Druhy");
    std::vector<Item> items = {MakeItem(1, "Vec", 1.0)};
    for (const auto& add : std::vector<std::function<void()>>{
             [&] { store->AddSeller(second); }, [&] { store->AddSellerWithItems(second, items); },
             [&] {
                 Seller renamed = store->GetSeller(other);
                 renamed.SHORT_CODE = "dup";
                 store->UpdateSeller(other, renamed);
             }}) {
        try {
            add();
            ADD_FAILURE() << "taken code written";
        } catch (const SellerCodeTakenException& refusal) {
            EXPECT_STREQ(refusal.what(), "Kód predajcu dup už má iný predajca.");
        }
    }
    EXPECT_EQ(store->GetSellerByCode("DUP").ID, first);
    EXPECT_EQ(store->GetSeller(other).SHORT_CODE, "INE");
    EXPECT_EQ(Count("sellers"), "2");
    EXPECT_EQ(Count("items"), "0");
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
    EXPECT_THAT(reported, IsEmpty());
}

TEST_F(PostgresStoreTest, ItemsComeInNumberOrderAndAreFoundByNumber) {
    const int seller = AddSeller("AA");
    const int otherSeller = AddSeller("BB");
    for (const int number : {3, 1, 2}) {
        AddItem(seller, number);
    }
    AddItem(otherSeller, 1);
    std::vector<int> numbers;
    for (const Item& item : store->GetSellerItems(seller)) {
        numbers.push_back(item.NUMBER);
        EXPECT_EQ(item.SELLER_ID, seller);
    }
    EXPECT_THAT(numbers, ElementsAre(1, 2, 3));

    const Item second = store->GetSellerItemByNumber(seller, 2);
    EXPECT_EQ(second.NAME, "Vec 2");
    EXPECT_EQ(store->GetItem(second.ID).NUMBER, 2);
    EXPECT_THROW(store->GetSellerItemByNumber(seller, 9), WrongItemException);
    EXPECT_THROW(store->GetItem(4242), WrongItemException);
    EXPECT_THAT(reported,
                ElementsAre(HasSubstr("QueryForItems no single item: 'getting seller item by "
                                      "numer'"),
                            "DataPostgresPqxx::QueryForItems no single item: 'getting item by "
                            "id' => 'SELECT * FROM items WHERE \"ID\" = 4242'."));
}

TEST_F(PostgresStoreTest, AddedItemCarriesItsIdSellerAndTime) {
    const int seller = AddSeller("AA");
    Item item = MakeItem(7, "Bunda 'zimná'", 12.5);
    const int id = store->AddItem(item, seller);
    EXPECT_EQ(item.ID, id);
    EXPECT_EQ(item.SELLER_ID, seller);
    EXPECT_FALSE(item.MODIFIED.IsEmpty());
    const Item stored = store->GetItem(id);
    EXPECT_EQ(Describe(stored), Describe(item));
    EXPECT_EQ(stored.MODIFIED.Second, item.MODIFIED.Second);
    EXPECT_EQ(database.Scalar("SELECT \"PRICE\"::text FROM items"), "12.5000");
}

TEST_F(PostgresStoreTest, PriceKeepsItsPointUnderADecimalCommaLocale) {
    const int seller = AddSeller("AA");
    KramoTest::LocaleScope slovak(LC_NUMERIC, KramoTest::LocaleScope::Slovak);
    Item item = MakeItem(1, "Lopta", 12.5);
    const int id = store->AddItem(item, seller);
    item.PRICE = 3.25;
    store->ModifyItem(id, item);
    EXPECT_EQ(database.Scalar("SELECT \"PRICE\"::text FROM items"), "3.2500");
    EXPECT_DOUBLE_EQ(store->GetItem(id).PRICE, 3.25);
}

TEST_F(PostgresStoreTest, ModifiedItemWithAnImpossibleTimeIsStoredWithTheCurrentTime) {
    const int seller = AddSeller("AA");
    const int id = AddItem(seller, 1);
    const Timestamp invalid[] = {Timestamp{}, Timestamp{2026, 13, 1, 0, 0, 0, 0, -1, -1},
                                 Timestamp{2026, 2, 30, 0, 0, 0, 0, -1, -1},
                                 Timestamp{2026, 1, 1, 24, 0, 0, 0, -1, -1}};
    for (const Timestamp& time : invalid) {
        Item item = store->GetItem(id);
        item.MODIFIED = time;
        item.NAME = "zmenena";
        store->ModifyItem(id, item);
        const Item stored = store->GetItem(id);
        EXPECT_EQ(stored.NAME, "zmenena");
        EXPECT_EQ(stored.MODIFIED.Year, CurrentTimestamp().Year);
    }
    EXPECT_THAT(log.Text(), HasSubstr("Invalid date, reformatting to current date.\n"));
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
}

TEST_F(PostgresStoreTest, RemovingASellerTakesItsItemsAlong) {
    const int seller = AddSeller("AA");
    const int kept = AddSeller("BB");
    AddItem(seller, 1);
    const int keptItem = AddItem(kept, 1);
    const int removedItem = AddItem(kept, 2);
    store->RemoveItem(removedItem);
    store->RemoveSeller(seller);
    EXPECT_THROW(store->GetSeller(seller), WrongSellerException);
    EXPECT_THAT(store->GetSellerItems(seller), IsEmpty());
    ASSERT_EQ(store->GetSellerItems(kept).size(), 1u);
    EXPECT_EQ(store->GetSellerItems(kept)[0].ID, keptItem);
    EXPECT_EQ(store->GetNextSellerId(), kept + 1);

    // Another desk sold an item after the question: the seller and the items stay.
    const int sold = AddItem(kept, 3);
    store->StoreSale(Sale({sold}, "kupa"));
    EXPECT_THROW(store->RemoveSeller(kept), std::runtime_error);
    EXPECT_EQ(store->GetSellerItems(kept).size(), 2u);
}

TEST_F(PostgresStoreTest, CategoriesComeFromTheTables) {
    const std::vector<ItemCategory> items = store->GetItemCategories();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].CODE, 'a');
    EXPECT_DOUBLE_EQ(items[0].PriceTo, 4.99);
    EXPECT_DOUBLE_EQ(items[3].PriceTo, 10000000.0);  // NULL: open upwards
    EXPECT_DOUBLE_EQ(items[3].SalePercent, 8.0);

    std::vector<int32_t> ids;
    for (const ItemCategory& category : store->GetItemCategoriesByIds({3, 1, 3})) {
        ids.push_back(category.ID);
    }
    EXPECT_THAT(ids, ElementsAre(1, 3));
    EXPECT_THAT(store->GetItemCategoriesByIds({}), IsEmpty());
    EXPECT_EQ(store->GetItemCategory(2).NAME, "Do 20 eur");
    EXPECT_EQ(store->GetItemCategoriesByCodes({'z'}).size(), 4u);

    const std::vector<SellerCategory> sellers = store->GetSellerCategoriesByIds({12});
    ASSERT_EQ(sellers.size(), 3u);
    EXPECT_EQ(sellers[1].CODE, 's');
    EXPECT_EQ(store->GetSellerCategory(13).NAME, "Organizator");
    const SellerCategory placeholder = store->GetSellerCategoryByCode('p');
    EXPECT_EQ(placeholder.ID, -1);
    EXPECT_EQ(placeholder.CODE, 'p');
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
    EXPECT_THAT(reported, IsEmpty());
}

// Each kind of bad row, on a database of its own with seller 1 (items 1 to 3) and seller 2
// (item 4): the row is skipped, named once with its table, ID and column, the rest is used.
TEST_F(PostgresStoreTest, BadRowsAreSkippedAndReportedOnceWithTableIdAndColumn) {
    enum class Read { Items, Sellers, ItemCategories, SellerCategories };
    struct Case {
        const char* damage;
        Read read;
        std::size_t used;  // rows read after the damage
        const char* report;
    };
    const Case cases[] = {
        {"ALTER TABLE items DROP COLUMN \"VERSION\"", Read::Items, 0,
         "Chybný riadok v tabuľke items (ID 1, stĺpec VERSION: chýba stĺpec (stĺpcov v "
         "tabuľke: 10))."},
        {"ALTER TABLE items ALTER \"NAME\" DROP NOT NULL; "
         "UPDATE items SET \"NAME\" = NULL WHERE \"ID\" = 2",
         Read::Items, 2,
         "Chybný riadok v tabuľke items (ID 2, stĺpec NAME: chýba hodnota (NULL))."},
        {"UPDATE items SET \"STATUS\" = 9 WHERE \"ID\" = 2", Read::Items, 2,
         "Chybný riadok v tabuľke items (ID 2, stĺpec STATUS: neznámy stav 9)."},
        {"UPDATE items SET \"PRICE\" = -0.5 WHERE \"ID\" = 2", Read::Items, 2,
         "Chybný riadok v tabuľke items (ID 2, stĺpec PRICE: záporná cena)."},
        {"UPDATE items SET \"PRICE\" = 'NaN' WHERE \"ID\" = 2", Read::Items, 2,
         "Chybný riadok v tabuľke items (ID 2, stĺpec PRICE: cena nie je konečné číslo)."},
        {"UPDATE items SET \"ITEM_CATEGORY_ID\" = 77 WHERE \"ID\" = 2", Read::Items, 2,
         "Chybný riadok v tabuľke items (ID 2, stĺpec ITEM_CATEGORY_ID: neznáma kategória 77)."},
        {"ALTER TABLE items ALTER \"MODIFIED\" TYPE text; "
         "UPDATE items SET \"MODIFIED\" = 'včera' WHERE \"ID\" = 2",
         Read::Items, 2,
         "Chybný riadok v tabuľke items (ID 2, stĺpec MODIFIED: neplatný čas „včera“)."},
        // Once it became the first category, 'p', behind the user's back.
        {"UPDATE sellers SET \"SELLER_CATEGORY_ID\" = 99 WHERE \"ID\" = 1", Read::Sellers, 1,
         "Chybný riadok v tabuľke sellers (ID 1, stĺpec SELLER_CATEGORY_ID: neznáma kategória "
         "99)."},
        {"UPDATE sellers SET \"STATUS\" = 3 WHERE \"ID\" = 1", Read::Sellers, 1,
         "Chybný riadok v tabuľke sellers (ID 1, stĺpec STATUS: neznámy stav 3)."},
        {"ALTER TABLE item_category ALTER \"NAME\" DROP NOT NULL; "
         "INSERT INTO item_category VALUES (9, '', NULL, 1, 2, 0, 0, 0, 0)",
         Read::ItemCategories, 4,
         "Chybný riadok v tabuľke item_category (ID 9, stĺpec NAME: chýba hodnota (NULL))."},
        {"ALTER TABLE seller_category ALTER \"CODE\" TYPE text; "
         "UPDATE seller_category SET \"CODE\" = 'pp' WHERE \"ID\" = 13",
         Read::SellerCategories, 2,
         "Chybný riadok v tabuľke seller_category (ID 13, stĺpec CODE: kód nemá práve jeden "
         "znak)."},
    };
    for (const Case& test : cases) {
        KramoTest::PostgresTestDatabase own;
        std::vector<std::string> ownReports;
        DataPostgresPqxx desk(own.Connection(), saleName, [&](const std::exception& failure) {
            ownReports.push_back(failure.what());
        });
        for (const char* code : {"AA", "BB"}) {
            Seller seller = MakeSeller(code, "Predajca");
            desk.AddSeller(seller);
        }
        for (int number = 1; number <= 4; ++number) {
            Item item = MakeItem(number, "Vec", 2.5, 1, InStock);
            desk.AddItem(item, number <= 3 ? 1 : 2);
        }
        own.Execute(test.damage);

        const auto read = [&]() -> std::size_t {
            switch (test.read) {
                case Read::Items:
                    return desk.GetSellerItems(1).size();
                case Read::Sellers:
                    return desk.GetSellers().size();
                case Read::ItemCategories:
                    return desk.GetItemCategories().size();
                case Read::SellerCategories:
                    return desk.GetSellerCategories().size();
            }
            return 0;
        };
        EXPECT_EQ(read(), test.used) << test.damage;
        EXPECT_EQ(read(), test.used) << test.damage;  // the next refresh: no second box
        EXPECT_THAT(ownReports, ElementsAre(test.report)) << test.damage;

        // The one record asked for is not there, and the user learns why every time.
        if (test.read == Read::Items) {
            EXPECT_THROW(desk.GetItem(test.used == 0 ? 1 : 2), WrongItemException);
            EXPECT_THAT(ownReports, ElementsAre(test.report, test.report)) << test.damage;
        } else if (test.read == Read::Sellers) {
            EXPECT_THROW(desk.GetSeller(1), WrongSellerException);
            EXPECT_THAT(ownReports, ElementsAre(test.report, test.report)) << test.damage;
        }
    }
    EXPECT_THAT(log.Text(), HasSubstr("Bad row skipped: table items, ID 2, column PRICE\n"));
}

TEST_F(PostgresStoreTest, SecondInfoRowIsReportedAndTheFirstUsed) {
    database.Execute("INSERT INTO info VALUES (3, 'Druhá kramo')");
    const std::unique_ptr<DataPostgresPqxx> desk = OpenDesk();
    EXPECT_EQ(saleName, "Testovacia kramo");
    EXPECT_THAT(reported, ElementsAre("Tabuľka info má viac riadkov (2); platí prvý z nich "
                                      "(verzia 4, názov „Testovacia kramo“)."));
}

TEST_F(PostgresStoreTest, TimeStampWithFractionalSecondsReadsToTheSecond) {
    database.Execute("ALTER TABLE items ALTER \"MODIFIED\" TYPE timestamp(3);");
    const int seller = AddSeller("AA");
    const int id = AddItem(seller, 1);
    database.Execute("UPDATE items SET \"MODIFIED\" = '2026-12-08 03:10:08.750'");
    EXPECT_EQ(store->GetItem(id).MODIFIED, (Timestamp{2026, 12, 8, 3, 10, 8, 0, -1, -1}));
    EXPECT_THAT(reported, IsEmpty());
}

// A dump restored elsewhere does not carry the database's date style: the server's own default
// may answer in another form.
TEST_F(PostgresStoreTest, TimeStampsReadBackWhateverDateStyleTheDatabaseHas) {
    database.Execute("ALTER DATABASE " + database.Connection().databaseName +
                     " SET datestyle TO 'SQL, DMY'");
    const std::unique_ptr<DataPostgresPqxx> desk = OpenDesk();
    Seller seller = MakeSeller("AA", "Anna");
    const int id = desk->AddSeller(seller);
    database.Execute("UPDATE sellers SET \"MODIFIED\" = '2026-12-08 03:10:08'");
    EXPECT_EQ(desk->GetSeller(id).MODIFIED, (Timestamp{2026, 12, 8, 3, 10, 8, 0, -1, -1}));
    EXPECT_THAT(reported, IsEmpty());
}

TEST_F(PostgresStoreTest, SaleMarksItsItemsSoldAndRecordsThemTogether) {
    const int seller = AddSeller("AA");
    const int first = AddItem(seller, 1);
    const int second = AddItem(seller, 2);
    const int unsold = AddItem(seller, 3);
    const SaleRecord sale = Sale({first, second}, "Sale");
    store->StoreSale(sale);
    EXPECT_EQ(store->GetItem(first).STATUS, Sold);
    EXPECT_EQ(store->GetItem(second).STATUS, Sold);
    EXPECT_EQ(store->GetItem(unsold).STATUS, InStock);
    EXPECT_EQ(database.Scalar("SELECT \"TITLE\" FROM sold"), "Sale");
    EXPECT_EQ(database.Scalar("SELECT string_agg(\"ITEM_ID\"::text, ',' ORDER BY \"ITEM_ID\") "
                              "FROM sold_item JOIN sold ON \"SOLD_ID\" = sold.\"ID\""),
              std::to_string(first) + "," + std::to_string(second));

    // A storno puts the items back and keeps the sale on record as taken back; a second one
    // (a retry) changes nothing, a sale never recorded is refused.
    store->CancelSale(sale);
    EXPECT_EQ(store->GetItem(first).STATUS, InStock);
    EXPECT_EQ(store->GetItem(second).STATUS, InStock);
    EXPECT_EQ(database.Scalar("SELECT \"TITLE\" || ' ' || \"CANCELLED\" FROM sold"), "Storno true");
    store->StoreSale(Sale({first}));
    store->CancelSale(sale);
    EXPECT_EQ(store->GetItem(first).STATUS, Sold);
    EXPECT_THROW(store->CancelSale(Sale({first})), std::runtime_error);
    EXPECT_EQ(store->GetItem(first).STATUS, Sold);
}

TEST_F(PostgresStoreTest, SaleOfNoItemsRecordsNothing) {
    store->StoreSale(Sale({}, "Sale"));
    EXPECT_EQ(Count("sold"), "0");
    EXPECT_TRUE(boxes.ShownOfKind("error").empty());
}

// The connection breaks while the sale waits for its last statement: the items were already
// set sold inside the transaction, and must not stay so.
TEST_F(PostgresStoreTest, SaleCutOffInTheMiddleLeavesNoItemSold) {
    const int seller = AddSeller("AA");
    const int first = AddItem(seller, 1);
    const int second = AddItem(seller, 2);

    pqxx::connection blocker(database.Connection().ConnectionString());
    pqxx::work lock(blocker);
    lock.exec("LOCK TABLE sold_item IN EXCLUSIVE MODE");
    std::string cutterFailure;
    std::thread cutter([this, &cutterFailure] {
        try {
            database.EndSessionWaitingForLock();
        } catch (const std::exception& failure) {
            cutterFailure = failure.what();
        }
    });
    // A sale the database did not take must not look recorded to the checkout.
    EXPECT_THROW(store->StoreSale(Sale({first, second}, "Sale")), std::runtime_error);
    cutter.join();
    lock.abort();
    ASSERT_EQ(cutterFailure, "");

    EXPECT_EQ(database.Scalar("SELECT count(*) FROM items WHERE \"STATUS\" = 2"), "0");
    EXPECT_EQ(Count("sold"), "0");
    EXPECT_EQ(Count("sold_item"), "0");
    ASSERT_EQ(boxes.ShownOfKind("error").size(), 1u);
    EXPECT_EQ(boxes.ShownOfKind("error")[0].text, DatabaseProblem);
}

TEST_F(PostgresStoreTest, SellerWithItemsIsStoredWholeOrNotAtAll) {
    Seller seller = MakeSeller("IM", "Importovaný");
    std::vector<Item> items = {MakeItem(1, "Kočík", 12.5), MakeItem(2, "Sánky", 3.0)};
    const int id = store->AddSellerWithItems(seller, items);
    EXPECT_EQ(seller.ID, id);
    EXPECT_EQ(store->GetItem(items[1].ID).NAME, "Sánky");
    EXPECT_EQ(store->GetSellerItems(id).size(), 2u);

    // The items' insert cut off: the seller must not stay without them.
    pqxx::connection blocker(database.Connection().ConnectionString());
    pqxx::work lock(blocker);
    lock.exec("LOCK TABLE items IN EXCLUSIVE MODE");
    std::thread cutter([this] { database.EndSessionWaitingForLock(); });
    Seller second = MakeSeller("DR", "Druhý");
    EXPECT_THROW(store->AddSellerWithItems(second, items), std::runtime_error);
    cutter.join();
    lock.abort();
    EXPECT_EQ(Count("sellers"), "1");
    EXPECT_EQ(Count("items"), "2");
    EXPECT_EQ(boxes.ShownOfKind("error").size(), 1u);
}

// A restarted server: the operation that finds the session gone is reported, the next one
// opens a new session.
TEST_F(PostgresStoreTest, SessionEndedByTheServerIsOpenedAgain) {
    const int seller = AddSeller("AA");
    database.EndOtherSessions();
    EXPECT_THAT(store->GetSellers(), IsEmpty());
    EXPECT_EQ(boxes.ShownOfKind("error").size(), 1u);
    EXPECT_EQ(store->GetSeller(seller).SHORT_CODE, "AA");
    EXPECT_EQ(boxes.ShownOfKind("error").size(), 1u);
}

TEST_F(PostgresStoreTest, EveryOperationWithTheServerGoneIsReportedWithoutCrashing) {
    const int seller = AddSeller("AA");
    const int item = AddItem(seller, 1);
    database.ShutOut();

    Seller newSeller = MakeSeller("NN", "Novy");
    Item newItem = MakeItem(2, "Nova", 1.0);
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"GetSellers", [&] { EXPECT_THAT(store->GetSellers(), IsEmpty()); }},
        {"GetSeller", [&] { EXPECT_THROW(store->GetSeller(seller), WrongSellerException); }},
        {"GetSellerByCode",
         [&] { EXPECT_THROW(store->GetSellerByCode("AA"), WrongSellerException); }},
        {"GetSellerItems", [&] { EXPECT_THAT(store->GetSellerItems(seller), IsEmpty()); }},
        {"GetSellerItemByNumber",
         [&] { EXPECT_THROW(store->GetSellerItemByNumber(seller, 1), WrongItemException); }},
        {"GetItem", [&] { EXPECT_THROW(store->GetItem(item), WrongItemException); }},
        {"AddSeller", [&] { EXPECT_EQ(store->AddSeller(newSeller), -1); }},
        {"AddItem", [&] { EXPECT_EQ(store->AddItem(newItem, seller), -1); }},
        {"UpdateSeller", [&] { store->UpdateSeller(seller, newSeller); }},
        {"RemoveSeller", [&] { EXPECT_THROW(store->RemoveSeller(seller), WrongSellerException); }},
        {"ModifyItem", [&] { store->ModifyItem(item, newItem); }},
        {"RemoveItem", [&] { EXPECT_THROW(store->RemoveItem(item), WrongItemException); }},
        {"GetItemCategories",
         [&] { EXPECT_THROW(store->GetItemCategories(), WrongItemException); }},
        {"GetSellerCategories",
         [&] { EXPECT_THROW(store->GetSellerCategories(), WrongItemException); }},
        {"StoreSale",
         [&] { EXPECT_THROW(store->StoreSale(Sale({item}, "Sale")), std::runtime_error); }},
        {"AddSellerWithItems",
         [&] {
             std::vector<Item> items = {newItem};
             EXPECT_THROW(store->AddSellerWithItems(newSeller, items), std::runtime_error);
         }},
    };
    for (const auto& [name, operation] : operations) {
        const std::size_t before = boxes.ShownOfKind("error").size();
        operation();
        const auto shown = boxes.ShownOfKind("error");
        ASSERT_EQ(shown.size(), before + 1) << name;
        EXPECT_EQ(shown.back().text, DatabaseProblem) << name;
    }
    EXPECT_THAT(reported, IsEmpty());  // the database failure is the one report
    EXPECT_EQ(database.Scalar("SELECT \"STATUS\" FROM items"), "1");
    EXPECT_EQ(Count("sellers"), "1");
}

// Two cash desks on one database, each with its own connection.
TEST_F(PostgresStoreTest, TwoDesksSeeEachOthersSales) {
    const std::unique_ptr<DataPostgresPqxx> other = OpenDesk();
    const int seller = AddSeller("AA");
    std::vector<int> items;
    for (int number = 1; number <= 4; ++number) {
        items.push_back(AddItem(seller, number));
    }
    EXPECT_EQ(other->GetSellerByCode("AA").ID, seller);
    EXPECT_EQ(other->GetSellerItems(seller).size(), 4u);

    store->StoreSale(Sale({items[0], items[1]}, "Sale"));
    EXPECT_EQ(other->GetItem(items[0]).STATUS, Sold);
    other->StoreSale(Sale({items[2]}, "Sale"));
    EXPECT_EQ(store->GetItem(items[2]).STATUS, Sold);
    EXPECT_EQ(store->GetItem(items[3]).STATUS, InStock);

    // An item sold at the other desk is not sold again.
    EXPECT_THROW(other->StoreSale(Sale({items[0]}, "Sale")), ItemsNotInStockException);
    EXPECT_EQ(Count("sold"), "2");
    EXPECT_EQ(Count("sold_item"), "3");
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
}

// A purchase whose items another desk sold or removed, or that never existed, records nothing
// and names exactly those items; "sell anyway" sells an item whatever its state, if it exists.
TEST_F(PostgresStoreTest, SaleOfItemsNoLongerInStockRecordsNothingAndNamesThem) {
    const int seller = AddSeller("AA");
    std::vector<int> items;
    for (int number = 1; number <= 4; ++number) {
        items.push_back(AddItem(seller, number, 2.0 * number));
    }
    store->StoreSale(Sale({items[0]}));
    store->RemoveItem(items[1]);
    const int never = items[3] + 100;
    try {
        store->StoreSale(Sale({items[2], items[0], items[1], never, items[3]}));
        ADD_FAILURE() << "sold";
    } catch (const ItemsNotInStockException& refusal) {
        EXPECT_THAT(refusal.ItemIds(), ElementsAre(items[0], items[1], never));
    }
    EXPECT_EQ(Count("sold"), "1");
    EXPECT_EQ(Count("sold_item"), "1");
    EXPECT_EQ(store->GetItem(items[2]).STATUS, InStock);

    SaleRecord forced = Sale({items[0], items[2]});
    forced.forcedItemIds = {items[0]};
    forced.desk = "Pokladňa 2";
    store->StoreSale(forced);
    SaleRecord gone = Sale({items[1], items[3]});
    gone.forcedItemIds = {items[1]};
    EXPECT_THROW(store->StoreSale(gone), ItemsNotInStockException);
    EXPECT_EQ(store->GetItem(items[3]).STATUS, InStock);
    // A retry of a purchase on record (its answer lost) is done, and not recorded again.
    store->StoreSale(forced);
    EXPECT_EQ(
        database.Scalar("SELECT string_agg(\"ITEM_ID\" || ':' || \"PRICE\" || ':' || "
                        "\"FORCED\", ' ' ORDER BY \"ITEM_ID\") FROM sold_item"),
        FormatText("%i:2.0000:false %i:2.0000:true %i:6.0000:false", items[0], items[0], items[2]));

    const std::vector<RecordedSale> sales = store->GetRecordedSales();
    ASSERT_EQ(sales.size(), 2u);
    EXPECT_EQ(sales[1].key, forced.key);
    EXPECT_EQ(sales[1].desk, "Pokladňa 2");
    EXPECT_EQ(sales[1].itemCount, 2);
    EXPECT_DOUBLE_EQ(sales[1].total, 8.0);
    EXPECT_EQ(sales[1].forcedCount, 1);
    EXPECT_DOUBLE_EQ(sales[1].forcedTotal, 2.0);
    EXPECT_EQ(sales[1].time.Year, CurrentTimestamp().Year);
    store->CancelSale(forced);
    EXPECT_TRUE(store->GetRecordedSales()[1].cancelled);
    EXPECT_FALSE(store->GetRecordedSales()[0].cancelled);
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
}

// A write from a copy read before another desk's change is refused and changes nothing: the
// sale's state survives every edit. A record removed meanwhile is reported too.
TEST_F(PostgresStoreTest, WritesFromAStaleCopyOrOfARemovedRecordAreRefused) {
    const std::unique_ptr<DataPostgresPqxx> other = OpenDesk();
    const int seller = AddSeller("AA");
    const int item = AddItem(seller, 1);
    Item stale = store->GetItem(item);
    Seller staleSeller = store->GetSeller(seller);
    other->StoreSale(Sale({item}));
    stale.PRICE = 9.0;
    EXPECT_THROW(store->ModifyItem(item, stale), RecordChangedException);
    EXPECT_EQ(store->GetItem(item).STATUS, Sold);
    Item current = store->GetItem(item);
    current.PRICE = 9.0;
    store->ModifyItem(item, current);
    EXPECT_EQ(store->GetItem(item).STATUS, Sold);
    EXPECT_DOUBLE_EQ(store->GetItem(item).PRICE, 9.0);

    Seller renamed = other->GetSeller(seller);
    renamed.NAME = "Iná";
    other->UpdateSeller(seller, renamed);
    staleSeller.COMMENT = "poznámka";
    EXPECT_THROW(store->UpdateSeller(seller, staleSeller), RecordChangedException);
    EXPECT_EQ(store->GetSeller(seller).NAME, "Iná");

    const int removable = AddItem(seller, 2);
    const Item removed = store->GetItem(removable);
    other->RemoveItem(removable);
    EXPECT_THROW(store->ModifyItem(removable, removed), WrongItemException);
    const int goneSeller = AddSeller("BB");
    const Seller gone = store->GetSeller(goneSeller);
    other->RemoveSeller(goneSeller);
    EXPECT_THROW(store->UpdateSeller(goneSeller, gone), WrongSellerException);
    // A sold item is to be paid out: it is not removed.
    try {
        other->RemoveItem(item);
        ADD_FAILURE() << "removed";
    } catch (const std::runtime_error& refusal) {
        EXPECT_STREQ(refusal.what(), "Vec sa nepodarilo odstrániť: medzitým sa predala.");
    }

    // Items' states are set all or none.
    const int next = AddItem(seller, 3);
    EXPECT_THROW(store->SetItemsStatus({next, removable}, HandedBack), WrongItemException);
    EXPECT_EQ(store->GetItem(next).STATUS, InStock);
    store->SetItemsStatus({next, item}, HandedBack);
    EXPECT_EQ(store->GetItem(item).STATUS, HandedBack);
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
}

TEST_F(PostgresStoreTest, TextWithANulByteIsRefusedNeverCut) {
    Seller seller = MakeSeller("AA", std::string("Anna\0Nová", 10));
    store->AddSeller(seller);
    const int id = AddSeller("BB");
    Item item = MakeItem(1, std::string("Kabát\0zimný", 12), 1.0);
    store->AddItem(item, id);
    EXPECT_EQ(Count("sellers"), "1");
    EXPECT_EQ(Count("items"), "0");
    EXPECT_THAT(ErrorBoxes(),
                ElementsAre(std::string(DatabaseProblem) +
                                " | Pole „Meno“ obsahuje znak NUL, ktorý databáza neuloží; nič "
                                "sa nezapísalo.",
                            HasSubstr("Pole „Názov“ obsahuje znak NUL")));
    EXPECT_EQ(store->GetSeller(id).SHORT_CODE, "BB");
}

// The connection cut right after the server got the COMMIT: the desk asks, finds the sale or
// the import on record and finishes it normally; nothing is recorded twice.
TEST_F(PostgresStoreTest, CommitCutOffIsFoundOnRecordAndFinishedOnce) {
    KramoTest::TcpProxy proxy(database.Connection());
    const std::unique_ptr<DataPostgresPqxx> desk = OpenDeskAt(proxy.Connection());
    const int seller = AddSeller("AA");
    const SaleRecord sale = Sale({AddItem(seller, 1), AddItem(seller, 2)});
    proxy.SetMode(KramoTest::TcpProxy::Mode::CutNextCommit);
    desk->StoreSale(sale);
    EXPECT_EQ(proxy.Cuts(), 1);
    desk->StoreSale(sale);
    EXPECT_EQ(Count("sold"), "1");
    EXPECT_EQ(Count("sold_item"), "2");
    EXPECT_THAT(log.Text(), HasSubstr("Sale " + sale.key + ": the commit was cut off ("));

    proxy.SetMode(KramoTest::TcpProxy::Mode::CutNextCommit);
    Seller imported = MakeSeller("IM", "Importovaný");
    std::vector<Item> items = {MakeItem(1, "Kočík", 12.5), MakeItem(2, "Sánky", 3.0)};
    const int id = desk->AddSellerWithItems(imported, items);
    EXPECT_EQ(proxy.Cuts(), 2);
    EXPECT_EQ(imported.ID, id);
    EXPECT_EQ(store->GetItem(items[1].ID).NAME, "Sánky");
    EXPECT_EQ(store->GetItem(items[0].ID).SELLER_ID, id);
    EXPECT_EQ(Count("sellers"), "2");
    EXPECT_EQ(Count("items"), "4");
    EXPECT_EQ(desk->GetSellerByCode("IM").ID, id);
    EXPECT_THAT(log.Text(), HasSubstr("but is on record\n"));
    EXPECT_THAT(ErrorBoxes(), IsEmpty());
}

// A network that goes silent without closing anything: the sale and the opening of a desk fail
// within the timeout and a small margin, reported; with the network back the desk works.
TEST_F(PostgresStoreTest, SilentNetworkFailsWithinTheTimeoutAndTheNextOperationWorks) {
    KramoTest::TcpProxy proxy(database.Connection());
    PostgresConnection through = proxy.Connection();
    through.timeout = 2;
    const std::unique_ptr<DataPostgresPqxx> desk = OpenDeskAt(through);
    const int item = AddItem(AddSeller("AA"), 1);
    const auto limit = std::chrono::seconds(through.timeout + 3);

    proxy.SetMode(KramoTest::TcpProxy::Mode::Silent);
    auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(desk->StoreSale(Sale({item})), std::exception);
    EXPECT_LT(std::chrono::steady_clock::now() - start, limit);
    start = std::chrono::steady_clock::now();
    EXPECT_THROW(OpenDeskAt(through), DataStorageException);
    EXPECT_LT(std::chrono::steady_clock::now() - start, limit);
    EXPECT_EQ(ErrorBoxes().size(), 2u);

    proxy.SetMode(KramoTest::TcpProxy::Mode::Forward);
    desk->StoreSale(Sale({item}));
    EXPECT_EQ(store->GetItem(item).STATUS, Sold);
    EXPECT_EQ(ErrorBoxes().size(), 2u);
}

// Desk processes of their own on the test's database, started together; each writes its
// lines of results to the parent. A desk that throws out of its work writes "crashed".
std::vector<std::string> RunDesks(const PostgresConnection& connection, int desks,
                                  const std::function<void(int, DataPostgresPqxx&, FILE*)>& work) {
    int start[2];
    if (pipe(start) != 0) {
        throw std::runtime_error("pipe");
    }
    std::vector<std::pair<pid_t, FILE*>> children;
    for (int desk = 0; desk < desks; ++desk) {
        int results[2];
        if (pipe(results) != 0) {
            throw std::runtime_error("pipe");
        }
        const pid_t child = fork();
        if (child == 0) {
            close(start[1]);
            close(results[0]);
            FILE* out = fdopen(results[1], "w");
            try {
                std::string saleName;
                DataPostgresPqxx store(connection, saleName, [](const std::exception&) {});
                char go;
                (void)read(start[0], &go, 1);  // returns when the parent lets all desks go
                work(desk, store, out);
            } catch (const std::exception& failure) {
                std::fprintf(out, "crashed %s\n", failure.what());
            }
            std::fclose(out);
            _exit(0);
        }
        close(results[1]);
        children.emplace_back(child, fdopen(results[0], "r"));
    }
    close(start[0]);
    close(start[1]);
    std::vector<std::string> lines;
    for (const auto& [child, in] : children) {
        char line[512];
        while (std::fgets(line, sizeof line, in) != nullptr) {
            lines.emplace_back(line, std::strcspn(line, "\n"));
        }
        std::fclose(in);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    return lines;
}

std::size_t CountStartingWith(const std::vector<std::string>& lines, const std::string& start) {
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(),
                      [&](const std::string& line) { return line.find(start) == 0; }));
}

TEST_F(PostgresStoreTest, DesksSellingTheSameItemsAtOnceSellEachOnceAndLoseNoSale) {
    const int seller = AddSeller("AA");
    std::vector<int> items;
    for (int number = 1; number <= 60; ++number) {
        items.push_back(AddItem(seller, number));
    }
    const std::vector<std::string> lines =
        RunDesks(database.Connection(), 3, [&](int desk, DataPostgresPqxx& own, FILE* out) {
            std::vector<int> order = items;
            std::shuffle(order.begin(), order.end(), std::mt19937(desk));
            for (std::size_t at = 0; at + 3 <= order.size(); at += 3) {
                SaleRecord sale = Sale({order[at], order[at + 1], order[at + 2]});
                try {
                    own.StoreSale(sale);
                    std::fprintf(out, "sold %s\n", sale.key.c_str());
                } catch (const ItemsNotInStockException&) {
                    std::fprintf(out, "refused\n");
                }
            }
        });
    EXPECT_EQ(CountStartingWith(lines, "sold ") + CountStartingWith(lines, "refused"), 60u);
    for (const std::string& line : lines) {
        if (line.find("sold ") == 0) {
            EXPECT_EQ(database.Scalar("SELECT count(*) FROM sold WHERE \"SALE_KEY\" = '" +
                                      line.substr(5) + "'"),
                      "1");
        }
    }
    EXPECT_EQ(Count("sold"), std::to_string(CountStartingWith(lines, "sold ")));
    EXPECT_EQ(database.Scalar("SELECT count(*) FROM (SELECT \"ITEM_ID\" FROM sold_item GROUP BY "
                              "\"ITEM_ID\" HAVING count(*) > 1) AS twice"),
              "0");
    EXPECT_EQ(database.Scalar("SELECT count(*) FROM items WHERE \"STATUS\" = 2"),
              Count("sold_item"));
}

// The other desk edits every item from copies read before the sales (as a dialog opened a
// while ago), re-reading a copy it is told is stale.
TEST_F(PostgresStoreTest, EditsWhileAnotherDeskSellsLoseNoSaleAndNoEdit) {
    const int seller = AddSeller("AA");
    std::vector<int> items;
    for (int number = 1; number <= 40; ++number) {
        items.push_back(AddItem(seller, number, 1.0));
    }
    const std::vector<std::string> lines =
        RunDesks(database.Connection(), 2, [&](int desk, DataPostgresPqxx& own, FILE* out) {
            if (desk == 0) {
                for (const int item : items) {
                    own.StoreSale(Sale({item}));
                }
                return;
            }
            std::vector<Item> copies = own.GetSellerItems(seller);
            for (Item& copy : copies) {
                for (int attempt = 0; attempt < 5; ++attempt) {
                    copy.PRICE = 2.0;
                    try {
                        own.ModifyItem(copy.ID, copy);
                        break;
                    } catch (const RecordChangedException&) {
                        std::fprintf(out, "stale\n");
                        copy = own.GetItem(copy.ID);
                    }
                }
            }
        });
    EXPECT_EQ(CountStartingWith(lines, "crashed"), 0u) << testing::PrintToString(lines);
    EXPECT_EQ(database.Scalar("SELECT count(*) FROM items WHERE \"STATUS\" <> 2"), "0");
    EXPECT_EQ(database.Scalar("SELECT count(*) FROM items WHERE \"PRICE\" <> 2"), "0");
}

TEST_F(PostgresStoreTest, DesksImportingTheSameCodesAtOnceTakeEachCodeOnce) {
    const std::vector<std::string> lines =
        RunDesks(database.Connection(), 3, [](int desk, DataPostgresPqxx& own, FILE* out) {
            for (int code = 1; code <= 20; ++code) {
                // One desk writes the codes in small letters: the same codes all the same.
                Seller seller = MakeSeller((desk == 1 ? "k" : "K") + std::to_string(code),
                                           "Predajca " + std::to_string(desk));
                std::vector<Item> items = {MakeItem(1, "Vec", 1.0), MakeItem(2, "Vec", 2.0)};
                try {
                    own.AddSellerWithItems(seller, items);
                    std::fprintf(out, "stored\n");
                } catch (const SellerCodeTakenException&) {
                    std::fprintf(out, "taken\n");
                }
            }
        });
    EXPECT_EQ(CountStartingWith(lines, "stored"), 20u) << testing::PrintToString(lines);
    EXPECT_EQ(CountStartingWith(lines, "taken"), 40u);
    EXPECT_EQ(Count("sellers"), "20");
    EXPECT_EQ(Count("items"), "40");
}

// What one desk sells reaches the other's changes and search within a second; notices of
// another form are ignored, and a listening connection the server ended comes back with a
// change of everything.
TEST_F(PostgresStoreTest, OtherDeskLearnsOfASaleWithinASecond) {
    const std::unique_ptr<DataPostgresPqxx> other = OpenDesk();
    const int seller = AddSeller("AA");
    const int sold = AddItem(seller, 1);
    AddItem(seller, 2);
    ItemSearch search([&other]() -> DataAccessInterface& { return *other; },
                      [](const std::exception& failure) { ADD_FAILURE() << failure.what(); });
    search.FetchLatestData();
    // What the other desk takes until it has the count of changes, or the time is up.
    const auto takeWithin = [&other](std::chrono::milliseconds limit, std::size_t count = 1) {
        const auto end = std::chrono::steady_clock::now() + limit;
        std::vector<StoreChange> changes;
        while (changes.size() < count && std::chrono::steady_clock::now() < end) {
            for (const StoreChange& change : other->TakeChanges()) {
                changes.push_back(change);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return changes;
    };
    EXPECT_EQ(takeWithin(std::chrono::seconds(1), 3).size(), 3u);  // the additions

    for (const char* notice : {"i 1 2", "i -1 2 u", "s 3 x", "i 1 2 u 4", "q"}) {
        database.Execute(std::string("NOTIFY kramo_changes, '") + notice + "'");
    }
    const auto start = std::chrono::steady_clock::now();
    store->StoreSale(Sale({sold}));
    const std::vector<StoreChange> changes = takeWithin(std::chrono::seconds(1));
    search.ApplyChanges(changes);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_THAT(changes, ElementsAre(StoreChange{StoreChange::Record::Item, sold, seller, false}));
    const std::vector<Item> hits = search.FindItems("vec 1");
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.front().ID, sold);
    EXPECT_EQ(hits.front().STATUS, Sold);
    EXPECT_THAT(log.Text(), HasSubstr("Change notice of unknown form ignored: 's 3 x'\n"));

    const int socket = other->ChangesSocket();
    EXPECT_GE(socket, 0);
    database.EndOtherSessions();
    EXPECT_THAT(takeWithin(std::chrono::seconds(3)), ElementsAre(StoreChange::Everything()));
    EXPECT_GE(other->ChangesSocket(), 0);
    database.Execute("UPDATE sellers SET \"NAME\" = 'Zmenená'");
    EXPECT_THAT(takeWithin(std::chrono::seconds(1)),
                ElementsAre(StoreChange{StoreChange::Record::Seller, seller, seller, false}));
}

}  // namespace
