#include "PostgresTestDatabase.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <pqxx/pqxx>
#include <stdexcept>
#include <thread>

namespace KramoTest {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the tests through scripts/test, which starts "
                                 "the PostgreSQL test server");
    }
    return value;
}

Kramo::PostgresConnection ServerConnection() {
    Kramo::PostgresConnection connection;
    connection.address = Environment("KRAMO_TEST_PG_ADDRESS");
    connection.port = std::stoi(Environment("KRAMO_TEST_PG_PORT"));
    connection.user = Environment("KRAMO_TEST_PG_USER");
    connection.password = Environment("KRAMO_TEST_PG_PASSWORD");
    connection.databaseName = "postgres";
    return connection;
}

std::string UniqueDatabaseName() {
    static std::atomic<int> counter{0};
    return "kramo_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

// CREATE and DROP DATABASE cannot run inside a transaction.
void ExecuteOnServer(const std::string& sql) {
    pqxx::connection server(ServerConnection().ConnectionString());
    pqxx::nontransaction work(server);
    work.exec(sql);
}

}  // namespace

Kramo::PostgresConnection PostgresTestDatabase::ConnectionTo(const std::string& databaseName) {
    Kramo::PostgresConnection connection = ServerConnection();
    connection.databaseName = databaseName;
    return connection;
}

void ChooseDatabase(Kramo::KramoSettings& settings, const Kramo::PostgresConnection& connection) {
    settings.SetDatabaseInLocalFiles(false);
    settings.SetServerAddress(connection.address);
    settings.SetPort(connection.port);
    settings.SetUser(connection.user);
    settings.SetPassword(connection.password);
    settings.SetDatabaseName(connection.databaseName);
}

PostgresTestDatabase::PostgresTestDatabase() : connection_(ServerConnection()) {
    connection_.databaseName = UniqueDatabaseName();
    ExecuteOnServer("CREATE DATABASE " + connection_.databaseName + " TEMPLATE " +
                    Environment("KRAMO_TEST_PG_DATABASE"));
    own_ = std::make_unique<pqxx::connection>(connection_.ConnectionString());
}

PostgresTestDatabase::~PostgresTestDatabase() {
    own_.reset();
    try {
        ExecuteOnServer("DROP DATABASE IF EXISTS " + connection_.databaseName + " WITH (FORCE)");
    } catch (const std::exception&) {
        // The server stops with the test run; a database left behind goes with it.
    }
}

pqxx::result PostgresTestDatabase::Execute(const std::string& sql) {
    pqxx::work work(*own_);
    pqxx::result result = work.exec(sql);
    work.commit();
    return result;
}

std::string PostgresTestDatabase::Scalar(const std::string& sql) {
    const pqxx::result result = Execute(sql);
    return result[0][0].is_null() ? "NULL" : result[0][0].c_str();
}

void PostgresTestDatabase::EndOtherSessions() {
    Execute(
        "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        "WHERE datname = current_database() AND pid <> pg_backend_pid()");
}

void PostgresTestDatabase::ShutOut() {
    ExecuteOnServer("ALTER DATABASE " + connection_.databaseName + " ALLOW_CONNECTIONS false");
    EndOtherSessions();
}

void PostgresTestDatabase::EndSessionWaitingForLock() {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const pqxx::result ended = Execute(
            "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
            "WHERE datname = current_database() AND wait_event_type = 'Lock'");
        if (!ended.empty()) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    throw std::runtime_error("no session came to wait for a lock");
}

}  // namespace KramoTest
