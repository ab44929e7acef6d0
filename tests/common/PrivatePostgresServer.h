#pragma once

#include <string>

#include "storage/PostgresConnection.h"

namespace KramoTest {

// A PostgreSQL 15 server of the test's own on 127.0.0.1, which the test stops, starts and
// restarts as a server may go away during a sale; the shared test server of scripts/test stays
// untouched. It holds one database prepared from the schema file and is stopped and removed
// with the object. Without the PostgreSQL programs the construction throws.
class PrivatePostgresServer {
  public:
    PrivatePostgresServer(const std::string& schemaFile, const std::string& saleName);
    ~PrivatePostgresServer();
    PrivatePostgresServer(const PrivatePostgresServer&) = delete;
    PrivatePostgresServer& operator=(const PrivatePostgresServer&) = delete;

    // Where a cash desk connects: the database's owner over TCP with a password.
    const Kramo::PostgresConnection& Connection() const { return connection_; }

    // Stops at once, ending every session as a power cut would.
    void Stop();
    void Start();
    // Stops the server as an administrator's restart does, then starts it again.
    void Restart();

    // The first field of the first row, read over a session of its own; "NULL" for a NULL.
    std::string Scalar(const std::string& sql) const;
    // Runs an SQL file with psql as the database's owner; throws when it fails.
    void RunScript(const std::string& file) const;

  private:
    // Stops the server if it runs and removes its folder.
    void Remove();
    void InitialiseDataFolder();
    void CreateDatabase(const std::string& schemaFile, const std::string& saleName);
    void PgCtl(const std::string& action, const std::string& mode);

    std::string folder_;
    std::string dataFolder_;
    Kramo::PostgresConnection connection_;
    bool running_ = false;
};

}  // namespace KramoTest
