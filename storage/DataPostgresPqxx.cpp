#include "DataPostgresPqxx.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <pqxx/pqxx>
#include <set>
#include <stdexcept>
#include <thread>

#include "storage/DatabaseException.h"
#include "storage/PostgresChangeListener.h"
#include "storage/PostgresRowReader.h"
#include "storage/PostgresTimestamp.h"
#include "support/Clock.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "support/UniqueKey.h"
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

// A text the database cannot take as it is; the session stays usable.
class RefusedText : public std::runtime_error {
  public:
    explicit RefusedText(const std::string& message) : std::runtime_error(message) {}
};

// The rows of the ID that the record was read from: while the row's VERSION is still the
// record's. A record of VERSION 0 was not read from this store and is written as it is.
std::string AsRead(int id, int32_t version) {
    std::string condition = FormatText(" WHERE \"ID\" = %i", id);
    if (version > 0) {
        condition += FormatText(" AND \"VERSION\" = %i", static_cast<int>(version));
    }
    return condition;
}

// The IDs as an SQL array, which may be empty where "IN ()" may not.
std::string IdArray(const std::vector<int>& ids) {
    std::string joined;
    for (const int id : ids) {
        joined += (joined.empty() ? "" : ",") + std::to_string(id);
    }
    return "'{" + joined + "}'::integer[]";
}

// A write that touched no row: the record is gone, or another desk changed it.
template <typename GoneException>
[[noreturn]] void ThrowUnchanged(pqxx::work& transaction, const char* table, int id) {
    if (transaction.exec(FormatText("SELECT 1 FROM %s WHERE \"ID\" = %i", table, id)).empty()) {
        throw GoneException();
    }
    throw RecordChangedException();
}

// Runs a write of a seller's code, turning the code index's refusal into the desk's reason.
pqxx::result ExecWithCode(pqxx::work& transaction, const std::string& sql,
                          const std::string& code) {
    try {
        return transaction.exec(sql);
    } catch (const pqxx::unique_violation& failure) {
        if (std::string(failure.what()).find("sellers_short_code") != std::string::npos) {
            throw SellerCodeTakenException(code);
        }
        throw;
    }
}

}  // namespace

DataPostgresPqxx::DataPostgresPqxx(const PostgresConnection& connection, std::string& saleName,
                                   FailureReport reportFailure)
    : reportFailure_(std::move(reportFailure)),
      connectionString_(connection.ConnectionString()),
      timeout_(std::max(1, connection.timeout)),
      // The server's own timeouts end a slow statement first and keep the session; the watchdog
      // is for the answer that never comes.
      deadline_(std::chrono::seconds(timeout_) + std::chrono::milliseconds(1500)) {
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
        error = _("Unknown PSQL exception");
    }
    HandlePostgresException(
        database_exception((FormatStream(_("Connection to database failed: %s")) << error).str()));
    throw DataStorageException();
}

void DataPostgresPqxx::CheckVersion(std::string& saleName) {
    int version = 0;
    try {
        ReadVersion(version, saleName);
    } catch (const database_exception&) {
        throw;
    } catch (const std::exception& failure) {
        // Say why: a database without the program's tables is a usual mistake of the setup.
        connection_.reset();
        LogMessage(LogError, "Reading the database version failed: %s\n", failure.what());
        throw database_exception(
            (FormatStream(_("Z databázy sa nedala prečítať verzia schémy: %s")) << failure.what())
                .str());
    }
    LogMessage(LogInfo, "Connected to database version %i\n", version);
    if (version != RequiredVersion) {
        LogMessage(LogInfo, "Database version is not correct (%i)\n", RequiredVersion);
        std::string message =
            FormatText(_("Databáza má verziu schémy %i, program potrebuje verziu %i."), version,
                       RequiredVersion);
        if (version == 3) {
            message += _(" Previeďte ju skriptom sql/upgrade-3-to-4.sql.");
        }
        throw database_exception(message);
    }
}

void DataPostgresPqxx::ReadVersion(int& version, std::string& saleName) {
    pqxx::connection& session = Session();
    const QueryDeadline::Armed armed(deadline_, session.sock());
    Transaction transaction(session, "get db info");
    const pqxx::result info = transaction.exec("SELECT * FROM info");
    transaction.commit();
    if (!info.empty()) {
        version = info[0][0].is_null() ? 1 : info[0][0].as<int>();
        if (info.columns() > 1 && !info[0][1].is_null()) {
            saleName = info[0][1].c_str();
        }
    }
    ReportExtraInfoRows(info.size(), version, saleName);
}

// The info table holds one row; of more, the first counts, and the user learns which.
void DataPostgresPqxx::ReportExtraInfoRows(std::size_t rows, int version,
                                           const std::string& saleName) const {
    if (rows > 1) {
        reportFailure_(std::runtime_error(FormatText(
            _("Tabuľka info má viac riadkov (%zu); platí prvý z nich (verzia %i, názov „%s“)."),
            rows, version, saleName.c_str())));
    }
}

void DataPostgresPqxx::HandlePostgresException(const std::exception& failure) {
    LogMessage(LogError, "HandlePostgresException: %s", failure.what());
    ShowErrorBox(failure.what(), _("Problem s databazou, prosim skuste opat."));
}

pqxx::connection& DataPostgresPqxx::Session() {
    if (!connection_) {
        auto session = std::make_unique<pqxx::connection>(connectionString_);
        const QueryDeadline::Armed armed(deadline_, session->sock());
        pqxx::nontransaction settings(*session, "session settings");
        // Time stamps are read as "2026-12-08 03:10:08" whatever the database says: a restored
        // dump does not carry the database's own date style. The server ends a statement or a
        // lock wait that takes too long, and a transaction whose desk went silent.
        const int milliseconds = timeout_ * 1000;
        settings.exec(
            FormatText("SET datestyle TO 'ISO, YMD'; SET statement_timeout = %i; "
                       "SET lock_timeout = %i; "
                       "SET idle_in_transaction_session_timeout = %i",
                       milliseconds, milliseconds, 2 * milliseconds));
        connection_ = std::move(session);
    }
    return *connection_;
}

void DataPostgresPqxx::DropUnusableSession(const std::exception& failure) {
    // An error the server answered (a constraint, a timeout it enforced) leaves the session as
    // it was; a broken connection, a commit in doubt or a failure of the client library may
    // not, and the next operation must not inherit it.
    const bool answered = (dynamic_cast<const pqxx::sql_error*>(&failure) != nullptr ||
                           dynamic_cast<const RefusedText*>(&failure) != nullptr) &&
                          connection_ && connection_->is_open() && !deadline_.Expired();
    if (!answered) {
        connection_.reset();
    }
}

void DataPostgresPqxx::ReportFailure(const std::exception& failure) {
    const bool silent = deadline_.Expired();
    DropUnusableSession(failure);
    if (silent) {
        HandlePostgresException(std::runtime_error(
            (FormatStream(_("Databáza neodpovedala do %i s: %s")) << timeout_ << failure.what())
                .str()));
        return;
    }
    HandlePostgresException(failure);
}

bool DataPostgresPqxx::Select(const Sql& sql, const std::string& name, pqxx::result& rows,
                              std::string& statement, const Alongside& alongside) {
    try {
        pqxx::connection& session = Session();
        const QueryDeadline::Armed armed(deadline_, session.sock());
        Transaction transaction(session, name);
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
    std::string commitFailure;
    if (TransactKeyed(name, statements, commitFailure)) {
        return true;
    }
    if (!commitFailure.empty()) {
        HandlePostgresException(std::runtime_error(commitFailure));
    }
    return false;
}

bool DataPostgresPqxx::TransactKeyed(const std::string& name,
                                     const std::function<void(pqxx::work&)>& statements,
                                     std::string& commitFailure) {
    commitFailure.clear();
    bool committed = false;
    try {
        pqxx::connection& session = Session();
        const QueryDeadline::Armed armed(deadline_, session.sock());
        Transaction transaction(session, name);
        statements(transaction);
        try {
            transaction.commit();
            committed = true;
        } catch (const std::exception& failure) {
            commitFailure = *failure.what() != '\0' ? failure.what() : _("commit failed");
        }
    } catch (const DataStorageException&) {
        // A refusal: the transaction was rolled back, the session is fine unless the rollback
        // itself found it broken.
        if (connection_ && (!connection_->is_open() || deadline_.Expired())) {
            connection_.reset();
        }
        throw;
    } catch (const std::exception& failure) {
        ReportFailure(failure);
        return false;
    }
    if (!commitFailure.empty()) {
        // Whatever the commit did, the session cannot be trusted after it.
        LogMessage(LogError, "Commit of '%s' failed: %s\n", name.c_str(), commitFailure.c_str());
        connection_.reset();
    }
    return committed;
}

DataPostgresPqxx::Outcome DataPostgresPqxx::AskWhetherRecorded(const Sql& probe,
                                                               const Sql& question,
                                                               pqxx::result& answer) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_);
    constexpr auto pause = std::chrono::milliseconds(300);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        try {
            pqxx::connection& session = Session();
            const QueryDeadline::Armed armed(deadline_, session.sock());
            Transaction transaction(session, "ask whether recorded");
            // The probe inserts the key again, which waits for a commit the server may still be
            // finishing; a row back means the key was free. It is never committed.
            if (!transaction.exec(probe()).empty()) {
                transaction.abort();
                return Outcome::NotRecorded;
            }
            answer = transaction.exec(question());
            transaction.abort();
            return Outcome::Recorded;
        } catch (const std::exception& failure) {
            LogMessage(LogError, "Asking whether the commit reached the database failed: %s\n",
                       failure.what());
            connection_.reset();
        }
        if (std::chrono::steady_clock::now() + pause >= end) {
            break;
        }
        std::this_thread::sleep_for(pause);
    }
    return Outcome::Unknown;
}

void DataPostgresPqxx::Resolve(Outcome outcome, const char* what, const std::string& key,
                               const std::string& commitFailure, const char* notRecordedMessage) {
    switch (outcome) {
        case Outcome::Recorded:
            LogMessage(LogNotice, "%s %s: the commit was cut off (%s) but is on record\n", what,
                       key.c_str(), commitFailure.c_str());
            return;
        case Outcome::NotRecorded:
            LogMessage(LogError, "%s %s: the commit was cut off (%s) and is not on record\n", what,
                       key.c_str(), commitFailure.c_str());
            HandlePostgresException(std::runtime_error(commitFailure));
            throw std::runtime_error(_(notRecordedMessage));
        case Outcome::Unknown:
            LogMessage(LogError,
                       "%s %s: the commit was cut off (%s) and the database could not be asked "
                       "whether it is on record\n",
                       what, key.c_str(), commitFailure.c_str());
            HandlePostgresException(std::runtime_error(commitFailure));
            throw UnknownOutcomeException();
    }
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

std::string DataPostgresPqxx::Quoted(const std::string& text, const char* field) const {
    // The escaping stops at a NUL byte: the rest of the text would be lost without a word.
    if (text.find('\0') != std::string::npos) {
        // TRANSLATORS: %s is the name of the field: Kód, Meno, Poznámka, Názov, ...
        throw RefusedText(FormatText(_("Pole „%s“ obsahuje znak NUL, ktorý databáza neuloží; "
                                       "nič sa nezapísalo."),
                                     _(field)));
    }
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

std::string DataPostgresPqxx::SellerInsert(Seller& seller, const std::string& importKey) const {
    const std::string modified = StorableTimestamp(seller.MODIFIED);
    // A code taken meanwhile gives no row rather than an error, also when the other desk's
    // seller is not committed yet.
    return (FormatStream(
                "INSERT INTO sellers (\"SHORT_CODE\", \"NAME\", \"COMMENT\", \"CHANGING\", "
                "\"CHANGED_BY\", \"SELLER_CATEGORY_ID\", \"MODIFIED\", \"STATUS\", "
                "\"IMPORT_KEY\") VALUES (%s, %s, %s, %s, '%s', %i, '%s', '%i', %s) "
                "ON CONFLICT (lower(\"SHORT_CODE\")) DO NOTHING RETURNING \"ID\", \"VERSION\"")
            << Quoted(seller.SHORT_CODE, N_("Kód")) << Quoted(seller.NAME, N_("Meno"))
            << Quoted(seller.COMMENT, N_("Poznámka")) << "false"
            << "-" << seller.SELLER_CATEGORY_ID << modified << seller.STATUS
            << (importKey.empty() ? std::string("NULL") : Quoted(importKey)))
        .str();
}

std::string DataPostgresPqxx::SellerAssignments(Seller seller) const {
    const std::string modified = StorableTimestamp(seller.MODIFIED);
    return (FormatStream("\"SHORT_CODE\"=%s, \"NAME\"=%s, \"COMMENT\"=%s, \"CHANGING\"='%s', "
                         "\"CHANGED_BY\"='%s', \"SELLER_CATEGORY_ID\"=%i, \"MODIFIED\"='%s', "
                         "\"STATUS\"='%i'")
            << Quoted(seller.SHORT_CODE, N_("Kód")) << Quoted(seller.NAME, N_("Meno"))
            << Quoted(seller.COMMENT, N_("Poznámka")) << "false"
            << "" << seller.SELLER_CATEGORY_ID << modified << seller.STATUS)
        .str();
}

std::string DataPostgresPqxx::ItemInsert(Item& item) const {
    const std::string modified = StorableTimestamp(item.MODIFIED);
    return (FormatStream("INSERT INTO items (\"NAME\", \"SELLER_ID\", \"PRICE\", \"CHANGING\", "
                         "\"CHANGED_BY\", \"ITEM_CATEGORY_ID\", \"NUMBER\", \"STATUS\", "
                         "\"MODIFIED\") VALUES (%s, %i, %s, '%s', '%s', %i, %i, %i, '%s' ) "
                         "RETURNING \"ID\", \"VERSION\"")
            << Quoted(item.NAME, N_("Názov")) << item.SELLER_ID << PriceText(item.PRICE) << "false"
            << "-" << item.ITEM_CATEGORY_ID << item.NUMBER << item.STATUS << modified)
        .str();
}

std::string DataPostgresPqxx::ItemAssignments(Item item) const {
    const std::string modified = StorableTimestamp(item.MODIFIED);
    return (FormatStream("\"NAME\"= %s, \"SELLER_ID\"= '%i', \"PRICE\"= '%s', \"CHANGING\"= '%s', "
                         "\"CHANGED_BY\"= '%s', \"ITEM_CATEGORY_ID\"= '%i', \"NUMBER\"= '%i', "
                         "\"STATUS\"= '%i', \"MODIFIED\"= '%s'")
            << Quoted(item.NAME, N_("Názov")) << item.SELLER_ID << PriceText(item.PRICE) << "false"
            << "-" << item.ITEM_CATEGORY_ID << item.NUMBER << item.STATUS << modified)
        .str();
}

int DataPostgresPqxx::AddSeller(Seller& seller) {
    seller.MODIFIED = CurrentTimestamp();
    int id = -1;
    int version = 0;
    Transact("add seller", [&](pqxx::work& transaction) {
        const pqxx::result row = transaction.exec(SellerInsert(seller));
        if (row.empty()) {
            throw SellerCodeTakenException(seller.SHORT_CODE);
        }
        id = row[0][0].as<int>();
        version = row[0][1].as<int>();
    });
    if (id != -1) {
        seller.ID = id;
        seller.VERSION = version;
    }
    return seller.ID;
}

int DataPostgresPqxx::AddSellerWithItems(Seller& seller, std::vector<Item>& items) {
    seller.MODIFIED = CurrentTimestamp();
    // Kept with the seller: an import whose commit was cut off learns by it whether it is on
    // record.
    const std::string importKey = NewUniqueKey();
    std::vector<int> itemIds;
    int sellerId = -1;
    std::string commitFailure;
    const bool stored = TransactKeyed(
        "add seller with items",
        [&](pqxx::work& transaction) {
            itemIds.clear();
            const pqxx::result row = transaction.exec(SellerInsert(seller, importKey));
            if (row.empty()) {
                throw SellerCodeTakenException(seller.SHORT_CODE);
            }
            sellerId = row[0][0].as<int>();
            for (Item& item : items) {
                item.MODIFIED = seller.MODIFIED;
                item.SELLER_ID = sellerId;
                itemIds.push_back(transaction.exec1(ItemInsert(item))[0].as<int>());
            }
        },
        commitFailure);
    constexpr const char* NotStored = N_("Predajca sa nezapísal do databázy.");
    if (!stored && commitFailure.empty()) {
        throw std::runtime_error(_(NotStored));  // reported already
    }
    if (!stored) {
        pqxx::result found;
        const Outcome outcome = AskWhetherRecorded(
            [&] {
                return "INSERT INTO sellers (\"SHORT_CODE\", \"NAME\", \"SELLER_CATEGORY_ID\", "
                       "\"MODIFIED\", \"IMPORT_KEY\") VALUES (" +
                       Quoted("?" + importKey) + ", '', 0, now(), " + Quoted(importKey) +
                       ") ON CONFLICT (\"IMPORT_KEY\") DO NOTHING RETURNING 1";
            },
            [&] {
                // The items' IDs rise in the order of their inserts.
                return "SELECT sellers.\"ID\", items.\"ID\" FROM sellers LEFT JOIN items ON "
                       "items.\"SELLER_ID\" = sellers.\"ID\" WHERE sellers.\"IMPORT_KEY\" = " +
                       Quoted(importKey) + " ORDER BY items.\"ID\"";
            },
            found);
        Resolve(outcome, "Import", importKey, commitFailure, NotStored);
        sellerId = found[0][0].as<int>();
        itemIds.clear();
        for (const pqxx::row& row : found) {
            if (!row[1].is_null()) {
                itemIds.push_back(row[1].as<int>());
            }
        }
    }
    seller.ID = sellerId;
    for (std::size_t index = 0; index < items.size() && index < itemIds.size(); ++index) {
        items[index].ID = itemIds[index];
        items[index].SELLER_ID = sellerId;
    }
    return sellerId;
}

bool DataPostgresPqxx::MarkSellerChanging(int /*sellerId*/) {
    return false;
}

void DataPostgresPqxx::UpdateSeller(int sellerId, const Seller& seller) {
    Transact("update seller", [&](pqxx::work& transaction) {
        const pqxx::result rows = ExecWithCode(
            transaction,
            "UPDATE sellers SET " + SellerAssignments(seller) + AsRead(sellerId, seller.VERSION),
            seller.SHORT_CODE);
        if (rows.affected_rows() == 0) {
            ThrowUnchanged<WrongSellerException>(transaction, "sellers", sellerId);
        }
    });
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
            _("Predajcu sa nepodarilo odstrániť: jeho tovar sa medzitým predal."));
    }
}

int DataPostgresPqxx::AddItem(Item& item, int sellerId) {
    item.MODIFIED = CurrentTimestamp();
    item.SELLER_ID = sellerId;
    int id = -1;
    int version = 0;
    Transact("add item", [&](pqxx::work& transaction) {
        const pqxx::row row = transaction.exec1(ItemInsert(item));
        id = row[0].as<int>();
        version = row[1].as<int>();
    });
    if (id != -1) {
        item.ID = id;
        item.VERSION = version;
    }
    return item.ID;
}

void DataPostgresPqxx::ModifyItem(int itemId, const Item& item) {
    Transact("modify item", [&](pqxx::work& transaction) {
        const pqxx::result rows = transaction.exec("UPDATE items SET " + ItemAssignments(item) +
                                                   AsRead(itemId, item.VERSION));
        if (rows.affected_rows() == 0) {
            ThrowUnchanged<WrongItemException>(transaction, "items", itemId);
        }
    });
}

void DataPostgresPqxx::RemoveItem(int itemId) {
    bool sold = false;
    const bool done = Transact("remove item", [&](pqxx::work& transaction) {
        // A sold item stays: its sale is still to be paid out to the seller.
        sold =
            transaction
                    .exec(FormatText("DELETE FROM items WHERE \"ID\" = %i AND \"STATUS\" <> %i",
                                     itemId, Sold))
                    .affected_rows() == 0 &&
            !transaction.exec(FormatText("SELECT 1 FROM items WHERE \"ID\" = %i", itemId)).empty();
    });
    if (!done) {
        throw WrongItemException();
    }
    if (sold) {
        throw std::runtime_error(_("Vec sa nepodarilo odstrániť: medzitým sa predala."));
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
    if (sale.itemIds.empty()) {
        return;  // nothing was sold
    }
    constexpr const char* NotStored = N_("Nákup sa nezapísal do databázy.");
    bool onRecord = false;
    std::string commitFailure;
    // One transaction: a failure at any statement leaves no item sold without its sold row.
    const bool stored = TransactKeyed(
        "sold row",
        [&](pqxx::work& transaction) {
            const pqxx::result sold = transaction.exec(
                "INSERT INTO sold (\"TITLE\", \"DATE\", \"SALE_KEY\", \"DESK\") VALUES (" +
                Quoted(sale.title, N_("Názov nákupu")) + ", '" +
                FormatPostgresTimestamp(CurrentTimestamp()) + "', " +
                Quoted(sale.key, N_("Kľúč nákupu")) + ", " + Quoted(sale.desk, N_("Pokladňa")) +
                ") ON CONFLICT (\"SALE_KEY\") DO NOTHING RETURNING \"ID\"");
            if (sold.empty()) {
                onRecord = true;  // a retry of a sale recorded before
                return;
            }
            // Claims the items in one statement: an item another desk sold or removed since it
            // was added is not among the claimed ones. Forced items are sold whatever their
            // state, but only if they exist.
            const std::string all = IdArray(sale.itemIds);
            const std::string forced = IdArray(sale.forcedItemIds);
            const pqxx::result claimed = transaction.exec(
                FormatText("WITH claimed AS (UPDATE items SET \"STATUS\" = %i WHERE \"ID\" = "
                           "ANY(%s) AND (\"STATUS\" = %i OR \"ID\" = ANY(%s)) "
                           "RETURNING \"ID\", \"PRICE\") ",
                           Sold, all.c_str(), InStock, forced.c_str()) +
                FormatText("INSERT INTO sold_item (\"SOLD_ID\", \"ITEM_ID\", \"PRICE\", "
                           "\"FORCED\") SELECT %i, \"ID\", \"PRICE\", \"ID\" = ANY(%s) FROM "
                           "claimed RETURNING \"ITEM_ID\"",
                           sold[0][0].as<int>(), forced.c_str()));
            std::set<int> claimedIds;
            for (const pqxx::row& row : claimed) {
                claimedIds.insert(row[0].as<int>());
            }
            std::vector<int> missing;
            for (const int id : sale.itemIds) {
                if (claimedIds.count(id) == 0 &&
                    std::find(missing.begin(), missing.end(), id) == missing.end()) {
                    missing.push_back(id);
                }
            }
            if (!missing.empty()) {
                throw ItemsNotInStockException(missing);
            }
        },
        commitFailure);
    if (stored) {
        if (onRecord) {
            LogMessage(LogNotice, "Sale %s is on record already: not recorded again\n",
                       sale.key.c_str());
        }
        return;
    }
    // The checkout must keep a purchase whose sale the database did not take.
    if (commitFailure.empty()) {
        throw std::runtime_error(_(NotStored));  // reported already
    }
    pqxx::result found;
    const Outcome outcome = AskWhetherRecorded(
        [&] {
            return "INSERT INTO sold (\"TITLE\", \"DATE\", \"SALE_KEY\") VALUES ('', now(), " +
                   Quoted(sale.key) + ") ON CONFLICT (\"SALE_KEY\") DO NOTHING RETURNING 1";
        },
        Fixed("SELECT 1"), found);
    Resolve(outcome, "Sale", sale.key, commitFailure, NotStored);
}

std::vector<RecordedSale> DataPostgresPqxx::GetRecordedSales() {
    pqxx::result rows;
    std::string statement;
    const bool answered = Select(
        Fixed(
            "SELECT sold.\"SALE_KEY\", sold.\"DESK\", sold.\"DATE\", count(sold_item.\"ITEM_ID\"), "
            "coalesce(sum(sold_item.\"PRICE\"), 0), sold.\"CANCELLED\", "
            "count(*) FILTER (WHERE sold_item.\"FORCED\"), "
            "coalesce(sum(sold_item.\"PRICE\") FILTER (WHERE sold_item.\"FORCED\"), 0) "
            "FROM sold LEFT JOIN sold_item ON sold_item.\"SOLD_ID\" = sold.\"ID\" "
            "GROUP BY sold.\"ID\" ORDER BY sold.\"DATE\", sold.\"ID\""),
        "getting recorded sales", rows, statement);
    if (!answered) {
        throw std::runtime_error(_("Nákupy sa nedali načítať z databázy."));  // reported already
    }
    std::vector<RecordedSale> sales;
    for (const pqxx::row& row : rows) {
        RecordedSale sale;
        sale.key = row[0].c_str();
        sale.desk = row[1].c_str();
        if (!ParsePostgresTimestamp(row[2].c_str(), sale.time)) {
            LogMessage(LogError, "Sale %s skipped: its time '%s' does not read\n", sale.key.c_str(),
                       row[2].c_str());
            continue;
        }
        sale.itemCount = row[3].as<int>();
        sale.total = row[4].as<double>();
        sale.cancelled = row[5].as<bool>();
        sale.forcedCount = row[6].as<int>();
        sale.forcedTotal = row[7].as<double>();
        sales.push_back(sale);
    }
    return sales;
}

void DataPostgresPqxx::SetItemsStatus(const std::vector<int>& itemIds, int32_t status) {
    if (itemIds.empty()) {
        return;
    }
    const std::set<int> wanted(itemIds.begin(), itemIds.end());
    const bool done = Transact("set items status", [&](pqxx::work& transaction) {
        const pqxx::result changed =
            transaction.exec(FormatText("UPDATE items SET \"STATUS\" = %i WHERE \"ID\" = ANY(%s)",
                                        static_cast<int>(status), IdArray(itemIds).c_str()));
        if (changed.affected_rows() != wanted.size()) {
            throw WrongItemException();  // rolled back: all or none
        }
    });
    if (!done) {
        throw std::runtime_error(_("Stav tovaru sa nezapísal do databázy."));  // reported already
    }
}

void DataPostgresPqxx::CancelSale(const SaleRecord& sale) {
    bool found = true;
    const bool recorded = Transact("storno", [&](pqxx::work& transaction) {
        // The sale by its key; a purchase that kept no key is its items' latest sale.
        const std::string which =
            sale.key.empty() ? "(SELECT max(\"SOLD_ID\") FROM sold_item WHERE \"ITEM_ID\" = ANY(" +
                                   IdArray(sale.itemIds) + "))"
                             : "(SELECT \"ID\" FROM sold WHERE \"SALE_KEY\" = " +
                                   Quoted(sale.key, N_("Kľúč nákupu")) + ")";
        // The sale stays on record for the day's accounts, marked as taken back.
        const pqxx::result cancelled = transaction.exec(
            "UPDATE sold SET \"CANCELLED\" = true, \"TITLE\" = 'Storno' WHERE \"ID\" = " + which +
            " AND NOT \"CANCELLED\" RETURNING \"ID\"");
        if (cancelled.empty()) {
            // Taken back already (a retry) is done; no such sale is refused.
            found = !transaction.exec("SELECT 1 FROM sold WHERE \"ID\" = " + which).empty();
            return;
        }
        transaction.exec(
            FormatText("UPDATE items SET \"STATUS\" = %i WHERE \"STATUS\" = %i AND "
                       "\"ID\" IN (SELECT \"ITEM_ID\" FROM sold_item WHERE "
                       "\"SOLD_ID\" = %i)",
                       InStock, Sold, cancelled[0][0].as<int>()));
    });
    if (!recorded) {
        throw std::runtime_error(_("Storno sa nezapísalo do databázy."));
    }
    if (!found) {
        throw std::runtime_error(_("Storno sa nezapísalo: nákup sa v databáze nenašiel."));
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
