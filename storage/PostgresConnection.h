#pragma once

#include <string>

namespace Kramo {

// Where the PostgreSQL store connects to, as the settings give it.
struct PostgresConnection {
    std::string address;  // numeric host address
    std::string user;
    std::string password;
    std::string databaseName;
    int port = 5432;
    // Seconds a desk waits for the server before it reports a failure: the connection's
    // opening, a silent network (keepalives) and each statement.
    int timeout = 5;

    // The libpq connection string; values that are empty or hold blanks, quotes or
    // backslashes are quoted, so that no value can end early or add a key of its own.
    std::string ConnectionString() const;
    // The same with the password replaced by "***", for the log.
    std::string LoggedConnectionString() const;
};

// One libpq connection string value, quoted only where libpq would misread it bare.
std::string QuoteConnectionValue(const std::string& value);

}  // namespace Kramo
