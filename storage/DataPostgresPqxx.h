#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <pqxx/connection>
#include <pqxx/result>
#include <pqxx/transaction>

#include "core/DataAccessInterface.h"
#include "storage/PostgresConnection.h"
#include "storage/PostgresRowReader.h"
#include "storage/QueryDeadline.h"

namespace Kramo {

class PostgresChangeListener;

// The store over a PostgreSQL database that several cash desks share. Every operation runs
// in a READ COMMITTED transaction of its own and nothing is cached, so each call sees what
// the other desks committed. Database failures are reported where they happen (log line and
// error box) and mostly not passed on: reads then give empty results, writes change nothing.
// A session that failed in a way that may leave it unusable is dropped, and the next
// operation opens a new one. No call waits much longer than the connection's timeout.
// A row that fails its checks is left out and reported.
class DataPostgresPqxx : public DataAccessInterface {
  public:
    // The program's common report of a failure that must not end the operation.
    using FailureReport = std::function<void(const std::exception&)>;

    // A statement, built inside its transaction: escaping a text needs the live connection.
    using Sql = std::function<std::string()>;

    static constexpr int RequiredVersion = 4;

    // Connects and checks the schema version; the sale name kept in the database replaces
    // saleName. A failed connection is reported and thrown as DataStorageException; a wrong
    // version, or a database whose version cannot be read, thrown as database_exception with
    // the reason for the user.
    DataPostgresPqxx(const PostgresConnection& connection, std::string& saleName,
                     FailureReport reportFailure);
    ~DataPostgresPqxx() override;

    std::vector<Seller> GetSellers() override;
    Seller GetSeller(int sellerId) override;
    Seller GetSellerByCode(const std::string& shortCode) override;
    // In ascending NUMBER order.
    std::vector<Item> GetSellerItems(int sellerId) override;
    Item GetSellerItemByNumber(int sellerId, int number) override;
    // SellerCodeTakenException when another seller holds the code (letter case aside).
    int AddSeller(Seller& seller) override;
    // One transaction for the seller and its items; throws after the report when the database
    // did not take them, so that an import does not count the sheet as stored. A commit cut
    // off is resolved by asking for the import's key, as for a sale.
    int AddSellerWithItems(Seller& seller, std::vector<Item>& items) override;
    bool MarkSellerChanging(int sellerId) override;
    void UpdateSeller(int sellerId, const Seller& seller) override;
    void RemoveSeller(int sellerId) override;
    int AddItem(Item& item, int sellerId) override;
    void ModifyItem(int itemId, const Item& item) override;
    // An item sold meanwhile stays (its sale is to be paid out): refused with the reason.
    void RemoveItem(int itemId) override;
    Item GetItem(int itemId) override;
    // The matching categories in database order.
    std::vector<ItemCategory> GetItemCategoriesByIds(const std::vector<int>& ids) override;
    std::vector<ItemCategory> GetItemCategories() override;
    // Every category, whatever the codes.
    std::vector<ItemCategory> GetItemCategoriesByCodes(const std::vector<char>& codes) override;
    // Every seller category.
    std::vector<SellerCategory> GetSellerCategoriesByIds(const std::vector<int>& ids) override;
    std::vector<SellerCategory> GetSellerCategories() override;
    // One placeholder category with ID -1 per code.
    std::vector<SellerCategory> GetSellerCategoriesByCodes(const std::vector<char>& codes) override;
    // All or nothing: the items become sold together with the sold row and its items. A
    // commit whose outcome is unknown is resolved by asking for the sale's key: recorded ->
    // done; not recorded -> reported and thrown; cannot ask -> UnknownOutcomeException.
    void StoreSale(const SaleRecord& sale) override;
    std::vector<RecordedSale> GetRecordedSales() override;
    // One statement: every item or (WrongItemException when one is gone) none.
    void SetItemsStatus(const std::vector<int>& itemIds, int32_t status) override;
    // In one transaction: the sale of the key marked cancelled and titled "Storno", its sold
    // items in stock again. A sale cancelled already stays as it is.
    void CancelSale(const SaleRecord& sale) override;
    // What the other desks changed, as the database announced it; after the listening
    // connection was lost and opened again, a change of everything. Never waits.
    std::vector<StoreChange> TakeChanges() override;
    int ChangesSocket() const override;
    int GetSellerPosition(int sellerId) override;
    int GetItemPosition(int itemId) override;
    int GetNextItemId() override;

    // The report of a database failure: a log line and the error box.
    static void HandlePostgresException(const std::exception& failure);

  private:
    // Whether a commit cut off reached the database.
    enum class Outcome { Recorded, NotRecorded, Unknown };

    void Connect(const PostgresConnection& connection);
    // The open session, opened anew when the former one broke.
    pqxx::connection& Session();
    // Reports a database failure and lets a session go that may be unusable after it.
    void ReportFailure(const std::exception& failure);
    void DropUnusableSession(const std::exception& failure);
    void CheckVersion(std::string& saleName);
    void ReadVersion(int& version, std::string& saleName);
    void ReportExtraInfoRows(std::size_t rows, int version, const std::string& saleName) const;

    // Runs one SELECT in a transaction that is never committed. A database failure is
    // reported and gives no rows; false then.
    // What a read does in the same transaction after a SELECT that found rows.
    using Alongside = std::function<void(pqxx::work&)>;
    bool Select(const Sql& sql, const std::string& name, pqxx::result& rows, std::string& statement,
                const Alongside& alongside = {});
    // Runs the statements in one transaction and commits; a failure is reported, nothing is
    // committed, and the answer is false. A refusal the statements throw
    // (DataStorageException) is passed on unreported.
    bool Transact(const std::string& name, const std::function<void(pqxx::work&)>& statements);
    // As Transact, but a failure of the commit itself (its outcome unknown) is not reported:
    // the caller learns of it through commitFailure and asks what happened.
    bool TransactKeyed(const std::string& name, const std::function<void(pqxx::work&)>& statements,
                       std::string& commitFailure);
    // After a commit cut off, over a fresh session within the timeout: whether the record is
    // there. The probe inserts the record's key again (rolled back), which waits for the
    // cut-off transaction to end, and gives a row when the key was free; on record, the
    // question's rows come in answer.
    Outcome AskWhetherRecorded(const Sql& probe, const Sql& question, pqxx::result& answer);
    // Logs and reports how the commit's outcome was resolved; throws unless it was recorded.
    void Resolve(Outcome outcome, const char* what, const std::string& key,
                 const std::string& commitFailure, const char* notRecordedMessage);

    std::vector<Seller> QueryForSellers(const Sql& sql, const std::string& name, bool singleRow);
    std::vector<Item> QueryForItems(const Sql& sql, const std::string& name, bool singleRow);
    std::vector<ItemCategory> QueryForItemCategories(const Sql& sql, const std::string& name,
                                                     bool singleRow);
    std::vector<SellerCategory> QueryForSellerCategories(const Sql& sql, const std::string& name);
    void ReportNoSingleRow(const char* query, const std::string& name, const std::string& sql);

    // One report for the bad rows of one query (see the definition for which are shown).
    void ReportBadRows(const std::vector<BadRow>& badRows, bool always);

    // A text value between single quotes, escaped by the connection's own rules. A text with
    // a NUL byte (which the escaping would cut off) is refused: the field names it to the user.
    std::string Quoted(const std::string& text, const char* field = "text") const;
    // The time stamp as the statements write it; an invalid one is first replaced by now.
    static std::string StorableTimestamp(Timestamp& time);
    // The statements that insert a record and return its new ID.
    // The seller's insert gives no row when another seller has the code.
    std::string SellerInsert(Seller& seller, const std::string& importKey = "") const;
    std::string SellerAssignments(Seller seller) const;
    std::string ItemInsert(Item& item) const;
    std::string ItemAssignments(Item item) const;

    FailureReport reportFailure_;
    std::string connectionString_;
    int timeout_;  // seconds
    std::unique_ptr<pqxx::connection> connection_;
    QueryDeadline deadline_;
    std::set<std::string> reportedBadRows_;
    std::unique_ptr<PostgresChangeListener> listener_;
};

}  // namespace Kramo
