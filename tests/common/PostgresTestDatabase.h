#pragma once

#include <memory>
#include <pqxx/connection>
#include <pqxx/result>
#include <string>

#include "settings/KramoSettings.h"
#include "storage/PostgresConnection.h"

namespace KramoTest {

// A database of its own for one test, copied from the prepared database of the test server
// that scripts/test starts, and dropped afterwards. The server is found through the
// KRAMO_TEST_PG_* environment variables; without them the construction throws, so that a
// test without a server fails rather than passing unseen.
class PostgresTestDatabase {
  public:
    PostgresTestDatabase();
    ~PostgresTestDatabase();
    PostgresTestDatabase(const PostgresTestDatabase&) = delete;
    PostgresTestDatabase& operator=(const PostgresTestDatabase&) = delete;

    // Where the store under test connects.
    const Kramo::PostgresConnection& Connection() const { return connection_; }
    // Where another program reaches a database of the test server that a test made.
    static Kramo::PostgresConnection ConnectionTo(const std::string& databaseName);

    // Runs SQL on a connection of the test's own, committed at once.
    pqxx::result Execute(const std::string& sql);
    // The first field of the first row as text; "NULL" for a NULL.
    std::string Scalar(const std::string& sql);
    // Ends every other session on the test's database, as a restarting server ends them.
    void EndOtherSessions();
    // Refuses new sessions too, so that to the store the server is gone; the test's own
    // session stays.
    void ShutOut();
    // Waits until a session of the test's database waits for a lock, then ends that session.
    void EndSessionWaitingForLock();

  private:
    Kramo::PostgresConnection connection_;
    std::unique_ptr<pqxx::connection> own_;
};

// Settings that open the database at the connection, as the settings dialog leaves them.
void ChooseDatabase(Kramo::KramoSettings& settings, const Kramo::PostgresConnection& connection);

}  // namespace KramoTest
