#include "DataPostgresPqxx.h"

#include <charconv>
#include <optional>
#include <pqxx/pqxx>
#include <set>
#include <stdexcept>

#include "storage/DatabaseException.h"
#include "storage/PostgresChangeListener.h"
#include "storage/PostgresRowReader.h"
#include "storage/PostgresTimestamp.h"
#include "support/Clock.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

using Transaction = pqxx::work;  // READ COMMITTED, the default isolation

// A statement without texts to escape.
DataPostgresPqxx::Sql Fixed(std::string sql) {
    return [sql = std::move(sql)] { return sql; };
}

std::string JoinIds(const std::vector<int>& ids) {
    std::string joined;
    for (const int id : ids) {
        joined += (joined.empty() ? "" : ", ") + std::to_string(id);
    }
    return joined;
}

// "%0.4f" whatever the locale's decimal separator is.
std::string PriceText(double price) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, price, std::chars_format::fixed, 4);
    return std::string(buffer, end.ptr);
}

// A field converted into value; false for NULL or a text that does not convert, with the
// value left as it was.
template <typename Value>
bool ReadField(const pqxx::field& field, Value& value) {
    try {
        return field.to(value);
    } catch (const pqxx::conversion_error&) {
        return false;
    }
}

// The IDs a category table holds, which the rows of sellers or items must refer to.
std::vector<int> CategoryIds(Transaction& transaction, const char* table) {
    std::vector<int> ids;
    for (const pqxx::row& row : transaction.exec(std::string("SELECT \"ID\" FROM ") + table)) {
        int id = 0;
        if (ReadField(row[0], id)) {
            ids.push_back(id);
        }
    }
    return ids;
}

}  // namespace

DataPostgresPqxx::DataPostgresPqxx(const PostgresConnection& connection, std::string& saleName,
                                   FailureReport reportFailure)
    : reportFailure_(std::move(reportFailure)), connectionString_(connection.ConnectionString()) {
    Connect(connection);
    CheckVersion(saleName);
    listener_ = std::make_unique<PostgresChangeListener>(connectionString_);
}

DataPostgresPqxx::~DataPostgresPqxx() = default;

void DataPostgresPqxx::Connect(const PostgresConnection& connection) {
    LogMessage(LogNotice, "Connecting to postgresqldb: %s\n",
               connection.LoggedConnectionString().c_str());
    std::string error;
    try {
        Session();
        return;
    } catch (const std::exception& failure) {
        error = failure.what();
    } catch (...) {
        error = "Unknown PSQL exception";
    }
    HandlePostgresException(database_exception("Connection to database failed: " + error));
    throw DataStorageException();
}

void DataPostgresPqxx::CheckVersion(std::string& saleName) {
    Transaction transaction(Session(), "get db info");
    const pqxx::result info = transaction.exec("SELECT * FROM info");
    transaction.commit();

    int version = 0;
    if (!info.empty()) {
        version = info[0][0].is_null() ? 1 : info[0][0].as<int>();
        if (info.columns() > 1 && !info[0][1].is_null()) {
            saleName = info[0][1].c_str();
        }
    }
    ReportExtraInfoRows(info.size(), version, saleName);
    LogMessage(LogInfo, "Connected to database version %i\n", version);
    if (version != RequiredVersion) {
        const std::string message =
            FormatText("Database version is not correct (%i)\n", RequiredVersion);
        LogMessage(LogInfo, "%s", message.c_str());
        throw database_exception(message);
    }
}

// The info table holds one row; of more, the first counts, and the user learns which.
void DataPostgresPqxx::ReportExtraInfoRows(std::size_t rows, int version,
                                           const std::string& saleName) const {
    if (rows > 1) {
        reportFailure_(std::runtime_error(FormatText(
            "Tabuľka info má viac riadkov (%zu); platí prvý z nich (verzia %i, názov „%s“).", rows,
            version, saleName.c_str())));
    }
}

void DataPostgresPqxx::HandlePostgresException(const std::exception& failure) {
    LogMessage(LogError, "HandlePostgresException: %s", failure.what());
    ShowErrorBox(failure.what(), "Problem s databazou, prosim skuste opat.");
}

pqxx::connection& DataPostgresPqxx::Session() {
    if (!connection_) {
        connection_ = std::make_unique<pqxx::connection>(connectionString_);
        // Time stamps are read as "2026-12-08 03:10:08" whatever the database says: a restored
        // dump does not carry the database's own date style.
        connection_->set_variable("datestyle", "'ISO, YMD'");
    }
    return *connection_;
}

void DataPostgresPqxx::ReportFailure(const std::exception& failure) {
    // A server that restarted ended the session: the next operation opens a new one.
    if (dynamic_cast<const pqxx::broken_connection*>(&failure) != nullptr) {
        connection_.reset();
    }
    HandlePostgresException(failure);
}

bool DataPostgresPqxx::Select(const Sql& sql, const std::string& name, pqxx::result& rows,
                              std::string& statement, const Alongside& alongside) {
    try {
        Transaction transaction(Session(), name);
        statement = sql();
        rows = transaction.exec(statement);
        if (alongside && !rows.empty()) {
            alongside(transaction);
        }
        return true;
    } catch (const std::exception& failure) {
        ReportFailure(failure);
        return false;
    }
}

bool DataPostgresPqxx::Transact(const std::string& name,
                                const std::function<void(pqxx::work&)>& statements) {
    try {
        Transaction transaction(Session(), name);
        statements(transaction);
        transaction.commit();
        return true;
    } catch (const std::exception& failure) {
        ReportFailure(failure);
        return false;
    }
}

bool DataPostgresPqxx::Write(const Sql& sql, const std::string& name) {
    return Transact(name, [&sql](pqxx::work& transaction) { transaction.exec(sql()); });
}

int DataPostgresPqxx::Insert(const Sql& sql, const std::string& name) {
    int id = -1;
    Transact(name, [&](pqxx::work& transaction) { id = transaction.exec1(sql())[0].as<int>(); });
    return id;
}

void DataPostgresPqxx::ReportNoSingleRow(const char* query, const std::string& name,
                                         const std::string& sql) {
    reportFailure_(std::runtime_error(
        (FormatStream("DataPostgresPqxx::%s no single item: '%s' => '%s'.") << query << name << sql)
            .str()));
}

std::vector<Seller> DataPostgresPqxx::QueryForSellers(const Sql& sql, const std::string& name,
                                                      bool singleRow) {
    pqxx::result rows;
    std::string statement;
    std::vector<int> categoryIds;
    Select(sql, name, rows, statement, [&categoryIds](Transaction& transaction) {
        categoryIds = CategoryIds(transaction, "seller_category");
    });
    if (singleRow && rows.empty()) {
        throw WrongSellerException();
    }
    if (singleRow && rows.size() > 1) {
        ReportNoSingleRow("QueryForSellers", name, statement);
    }
    PostgresRowReader reader(categoryIds);
    std::vector<Seller> sellers;
    for (const pqxx::row& row : rows) {
        if (std::optional<Seller> seller = reader.ReadSeller(row)) {
            sellers.push_back(std::move(*seller));
        }
    }
    ReportBadRows(reader.BadRows(), singleRow);
    if (singleRow && sellers.empty()) {
        throw WrongSellerException();
    }
    return sellers;
}

std::vector<Item> DataPostgresPqxx::QueryForItems(const Sql& sql, const std::string& name,
                                                  bool singleRow) {
    pqxx::result rows;
    std::string statement;
    std::vector<int> categoryIds;
    const bool answered =
        Select(sql, name, rows, statement, [&categoryIds](Transaction& transaction) {
            categoryIds = CategoryIds(transaction, "item_category");
        });
    if (!answered) {
        return {};
    }
    if (singleRow && rows.size() != 1) {
        ReportNoSingleRow("QueryForItems", name, statement);
        return {};
    }
    PostgresRowReader reader(categoryIds);
    std::vector<Item> items;
    for (const pqxx::row& row : rows) {
        if (std::optional<Item> item = reader.ReadItem(row)) {
            items.push_back(std::move(*item));
        }
    }
    ReportBadRows(reader.BadRows(), singleRow);
    return items;
}

std::vector<ItemCategory> DataPostgresPqxx::QueryForItemCategories(const Sql& sql,
                                                                   const std::string& name,
                                                                   bool singleRow) {
    pqxx::result rows;
    std::string statement;
    const bool answered = Select(sql, name, rows, statement);
    if (!answered) {
        throw WrongItemException();
    }
    if (singleRow && rows.size() != 1) {
        ReportNoSingleRow("QueryForItemCategories", name, statement);
        if (rows.empty()) {
            throw WrongItemCategoryException();
        }
    }
    PostgresRowReader reader;
    std::vector<ItemCategory> categories;
    for (const pqxx::row& row : rows) {
        if (std::optional<ItemCategory> category = reader.ReadItemCategory(row)) {
            categories.push_back(std::move(*category));
        }
    }
    ReportBadRows(reader.BadRows(), singleRow);
    return categories;
}

std::vector<SellerCategory> DataPostgresPqxx::QueryForSellerCategories(const Sql& sql,
                                                                       const std::string& name) {
    pqxx::result rows;
    std::string statement;
    if (!Select(sql, name, rows, statement)) {
        throw WrongItemException();
    }
    PostgresRowReader reader;
    std::vector<SellerCategory> categories;
    for (const pqxx::row& row : rows) {
        if (std::optional<SellerCategory> category = reader.ReadSellerCategory(row)) {
            categories.push_back(std::move(*category));
        }
    }
    ReportBadRows(reader.BadRows(), false);
    return categories;
}

// Every bad row goes to the log. The box names a row once per store: lists are read again
// and again (each seller's items for the search), and the same box each time helps no one. A
// single record asked for is always reported, as the caller fails for it.
void DataPostgresPqxx::ReportBadRows(const std::vector<BadRow>& badRows, bool always) {
    std::vector<BadRow> shown;
    std::set<std::string> keysOfThisQuery;
    for (const BadRow& badRow : badRows) {
        LogMessage(LogError, "Bad row skipped: table %s, ID %s, column %s\n", badRow.table.c_str(),
                   badRow.id.c_str(), badRow.column.c_str());
        const std::string key =
            badRow.wholeTable ? badRow.table + "." + badRow.column : badRow.Text();
        const bool reportedBefore = !reportedBadRows_.insert(key).second;
        if (keysOfThisQuery.insert(key).second && (always || !reportedBefore)) {
            shown.push_back(badRow);
        }
    }
    if (!shown.empty()) {
        reportFailure_(std::runtime_error(BadRowsReport(shown)));
    }
}

std::string DataPostgresPqxx::Quoted(const std::string& text) const {
    return "'" + connection_->esc(text) + "'";
}

std::string DataPostgresPqxx::StorableTimestamp(Timestamp& time) {
    if (!IsStorableTimestamp(time)) {
        LogMessage(LogError, "Invalid date, reformatting to current date.\n");
        time = CurrentTimestamp();
    }
    return FormatPostgresTimestamp(time);
}

std::vector<Seller> DataPostgresPqxx::GetSellers() {
    return QueryForSellers(Fixed("SELECT * FROM sellers"), "getting sellers", false);
}

Seller DataPostgresPqxx::GetSeller(int sellerId) {
    return QueryForSellers(Fixed(FormatText("SELECT * FROM sellers WHERE \"ID\" = %i", sellerId)),
                           "getting sellers", true)
        .front();
}

Seller DataPostgresPqxx::GetSellerByCode(const std::string& shortCode) {
    return QueryForSellers(
               [&] { return "SELECT * FROM sellers WHERE \"SHORT_CODE\" = " + Quoted(shortCode); },
               "getting seller by code", true)
        .front();
}

std::vector<Item> DataPostgresPqxx::GetSellerItems(int sellerId) {
    return QueryForItems(
        Fixed(FormatText("SELECT * FROM items WHERE \"SELLER_ID\" = %i ORDER BY \"NUMBER\"",
                         sellerId)),
        "getting seller items", false);
}

Item DataPostgresPqxx::GetSellerItemByNumber(int sellerId, int number) {
    const std::vector<Item> items = QueryForItems(
        Fixed(FormatText("SELECT * FROM items WHERE \"SELLER_ID\" = %i AND \"NUMBER\" = %i",
                         sellerId, number)),
        "getting seller item by numer", true);
    for (const Item& item : items) {
        if (item.NUMBER == number) {
            return item;
        }
    }
    throw WrongItemException();
}

std::string DataPostgresPqxx::SellerInsert(Seller& seller) const {
    const std::string modified = StorableTimestamp(seller.MODIFIED);
    return (FormatStream(
                "INSERT INTO sellers (\"SHORT_CODE\", \"NAME\", \"COMMENT\", \"CHANGING\", "
                "\"CHANGED_BY\", \"SELLER_CATEGORY_ID\", \"MODIFIED\", \"STATUS\") "
                "VALUES (%s, %s, %s, %s, '%s', %i, '%s', '%i') RETURNING \"ID\"")
            << Quoted(seller.SHORT_CODE) << Quoted(seller.NAME) << Quoted(seller.COMMENT) << "false"
            << "-" << seller.SELLER_CATEGORY_ID << modified << seller.STATUS)
        .str();
}

std::string DataPostgresPqxx::SellerAssignments(Seller seller) const {
    const std::string modified = StorableTimestamp(seller.MODIFIED);
    return (FormatStream("\"SHORT_CODE\"=%s, \"NAME\"=%s, \"COMMENT\"=%s, \"CHANGING\"='%s', "
                         "\"CHANGED_BY\"='%s', \"SELLER_CATEGORY_ID\"=%i, \"MODIFIED\"='%s', "
                         "\"STATUS\"='%i'")
            << Quoted(seller.SHORT_CODE) << Quoted(seller.NAME) << Quoted(seller.COMMENT) << "false"
            << "" << seller.SELLER_CATEGORY_ID << modified << seller.STATUS)
        .str();
}

std::string DataPostgresPqxx::ItemInsert(Item& item) const {
    const std::string modified = StorableTimestamp(item.MODIFIED);
    return (FormatStream("INSERT INTO items (\"NAME\", \"SELLER_ID\", \"PRICE\", \"CHANGING\", "
                         "\"CHANGED_BY\", \"ITEM_CATEGORY_ID\", \"NUMBER\", \"STATUS\", "
                         "\"MODIFIED\") VALUES (%s, %i, %s, '%s', '%s', %i, %i, %i, '%s' ) "
                         "RETURNING \"ID\"")
            << Quoted(item.NAME) << item.SELLER_ID << PriceText(item.PRICE) << "false"
            << "-" << item.ITEM_CATEGORY_ID << item.NUMBER << item.STATUS << modified)
        .str();
}

std::string DataPostgresPqxx::ItemAssignments(Item item) const {
    const std::string modified = StorableTimestamp(item.MODIFIED);
    return (FormatStream("\"NAME\"= %s, \"SELLER_ID\"= '%i', \"PRICE\"= '%s', \"CHANGING\"= '%s', "
                         "\"CHANGED_BY\"= '%s', \"ITEM_CATEGORY_ID\"= '%i', \"NUMBER\"= '%i', "
                         "\"STATUS\"= '%i', \"MODIFIED\"= '%s'")
            << Quoted(item.NAME) << item.SELLER_ID << PriceText(item.PRICE) << "false"
            << "-" << item.ITEM_CATEGORY_ID << item.NUMBER << item.STATUS << modified)
        .str();
}

int DataPostgresPqxx::AddSeller(Seller& seller) {
    seller.MODIFIED = CurrentTimestamp();
    const int id = Insert([&] { return SellerInsert(seller); }, "add seller");
    if (id != -1) {
        seller.ID = id;
    }
    return seller.ID;
}

int DataPostgresPqxx::AddSellerWithItems(Seller& seller, std::vector<Item>& items) {
    seller.MODIFIED = CurrentTimestamp();
    std::vector<int> itemIds;
    int sellerId = -1;
    const bool stored = Transact("add seller with items", [&](pqxx::work& transaction) {
        itemIds.clear();
        sellerId = transaction.exec1(SellerInsert(seller))[0].as<int>();
        for (Item& item : items) {
            item.MODIFIED = seller.MODIFIED;
            item.SELLER_ID = sellerId;
            itemIds.push_back(transaction.exec1(ItemInsert(item))[0].as<int>());
        }
    });
    if (!stored) {
        throw std::runtime_error("Predajca sa nezapísal do databázy.");
    }
    seller.ID = sellerId;
    for (std::size_t index = 0; index < items.size(); ++index) {
        items[index].ID = itemIds[index];
    }
    return sellerId;
}

bool DataPostgresPqxx::MarkSellerChanging(int /*sellerId*/) {
    return false;
}

void DataPostgresPqxx::UpdateSeller(int sellerId, const Seller& seller) {
    Write(
        [&] {
            return "UPDATE sellers SET " + SellerAssignments(seller) +
                   FormatText(" WHERE \"ID\" = %i", sellerId);
        },
        "update seller");
}

void DataPostgresPqxx::RemoveSeller(int sellerId) {
    // The items go along (ON DELETE CASCADE) in the same statement, and a seller whose item
    // another desk has sold meanwhile stays: that sale is still to be paid out.
    bool removed = false;
    const bool done = Transact("remove seller by id", [&](pqxx::work& transaction) {
        removed = transaction
                          .exec(FormatText("DELETE FROM sellers WHERE \"ID\" = %i AND NOT EXISTS "
                                           "(SELECT 1 FROM items WHERE \"SELLER_ID\" = %i AND "
                                           "\"STATUS\" = %i)",
                                           sellerId, sellerId, Sold))
                          .affected_rows() == 1 ||
                  transaction.exec(FormatText("SELECT 1 FROM sellers WHERE \"ID\" = %i", sellerId))
                      .empty();
    });
    if (!done) {
        throw WrongSellerException();  // the failure itself is reported already
    }
    if (!removed) {
        throw std::runtime_error(
            "Predajcu sa nepodarilo odstrániť: jeho tovar sa medzitým predal.");
    }
}

int DataPostgresPqxx::AddItem(Item& item, int sellerId) {
    item.MODIFIED = CurrentTimestamp();
    item.SELLER_ID = sellerId;
    const int id = Insert([&] { return ItemInsert(item); }, "add item");
    if (id != -1) {
        item.ID = id;
    }
    return item.ID;
}

void DataPostgresPqxx::ModifyItem(int itemId, const Item& item) {
    Write(
        [&] {
            return "UPDATE items SET " + ItemAssignments(item) +
                   FormatText(" WHERE \"ID\" = %i", itemId);
        },
        "modify item");
}

void DataPostgresPqxx::RemoveItem(int itemId) {
    if (!Write(Fixed(FormatText("DELETE FROM items WHERE \"ID\" = %i", itemId)), "remove item")) {
        throw WrongItemException();
    }
}

Item DataPostgresPqxx::GetItem(int itemId) {
    const std::vector<Item> items =
        QueryForItems(Fixed(FormatText("SELECT * FROM items WHERE \"ID\" = %i", itemId)),
                      "getting item by id", true);
    if (items.empty()) {
        throw WrongItemException();
    }
    return items.front();
}

std::vector<ItemCategory> DataPostgresPqxx::GetItemCategoriesByIds(const std::vector<int>& ids) {
    // "IN ()" is not SQL: no ids match no category, without asking the database.
    if (ids.empty()) {
        return {};
    }
    return QueryForItemCategories(
        Fixed("SELECT * FROM item_category WHERE \"ID\" IN (" + JoinIds(ids) + ")"),
        "getting item categories", false);
}

std::vector<ItemCategory> DataPostgresPqxx::GetItemCategories() {
    return QueryForItemCategories(Fixed("SELECT * FROM item_category"), "getting item categories",
                                  false);
}

std::vector<ItemCategory> DataPostgresPqxx::GetItemCategoriesByCodes(
    const std::vector<char>& /*codes*/) {
    return GetItemCategories();
}

std::vector<SellerCategory> DataPostgresPqxx::GetSellerCategoriesByIds(
    const std::vector<int>& /*ids*/) {
    return GetSellerCategories();
}

std::vector<SellerCategory> DataPostgresPqxx::GetSellerCategories() {
    return QueryForSellerCategories(Fixed("SELECT * FROM seller_category"),
                                    "getting seller categories");
}

std::vector<SellerCategory> DataPostgresPqxx::GetSellerCategoriesByCodes(
    const std::vector<char>& codes) {
    std::vector<SellerCategory> categories;
    for (const char code : codes) {
        SellerCategory category;
        category.CODE = code;
        categories.push_back(category);
    }
    return categories;
}

void DataPostgresPqxx::StoreSale(const SaleRecord& sale) {
    const std::vector<int>& itemIds = sale.itemIds;
    const std::string& title = sale.title;
    if (itemIds.empty()) {
        return;  // nothing was sold
    }
    // One transaction: a failure at any statement leaves no item sold without its sold row.
    const bool recorded = Transact("sold row", [&](pqxx::work& transaction) {
        transaction.exec(FormatText("UPDATE items SET \"STATUS\" = %i WHERE \"ID\" IN (", Sold) +
                         JoinIds(itemIds) + ")");
        const int saleId =
            transaction
                .exec1("INSERT INTO sold (\"TITLE\", \"DATE\", \"SALE_KEY\", \"DESK\") VALUES (" +
                       Quoted(title) + ", '" + FormatPostgresTimestamp(CurrentTimestamp()) + "', " +
                       Quoted(sale.key) + ", " + Quoted(sale.desk) + ") RETURNING \"ID\"")[0]
                .as<int>();
        std::string soldItems;
        for (const int itemId : itemIds) {
            soldItems +=
                FormatText("%s ('%i', '%i')", soldItems.empty() ? "" : ",", saleId, itemId);
        }
        transaction.exec("INSERT INTO sold_item (\"SOLD_ID\", \"ITEM_ID\") VALUES" + soldItems);
    });
    // The checkout must keep a purchase whose sale the database did not take.
    if (!recorded) {
        throw std::runtime_error("Nákup sa nezapísal do databázy.");
    }
}

void DataPostgresPqxx::CancelSale(const SaleRecord& sale) {
    const std::vector<int>& itemIds = sale.itemIds;
    if (itemIds.empty()) {
        return;
    }
    const std::string ids = JoinIds(itemIds);
    const bool recorded = Transact("storno", [&](pqxx::work& transaction) {
        transaction.exec(FormatText("UPDATE items SET \"STATUS\" = %i WHERE \"STATUS\" = %i AND ",
                                    InStock, Sold) +
                         "\"ID\" IN (" + ids + ")");
        // The sale stays on record for the day's accounts, marked as taken back.
        transaction.exec(
            "UPDATE sold SET \"TITLE\" = 'Storno' WHERE \"ID\" = (SELECT max(\"SOLD_ID\") "
            "FROM sold_item WHERE \"ITEM_ID\" IN (" +
            ids + "))");
    });
    if (!recorded) {
        throw std::runtime_error("Storno sa nezapísalo do databázy.");
    }
}

std::vector<StoreChange> DataPostgresPqxx::TakeChanges() {
    return listener_->Take();
}

int DataPostgresPqxx::ChangesSocket() const {
    return listener_->Socket();
}

int DataPostgresPqxx::GetSellerPosition(int /*sellerId*/) {
    throw NotImplementedException();
}

int DataPostgresPqxx::GetItemPosition(int /*itemId*/) {
    throw NotImplementedException();
}

int DataPostgresPqxx::GetNextItemId() {
    throw NotImplementedException();
}

}  // namespace Kramo
