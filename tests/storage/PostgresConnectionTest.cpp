#include "storage/PostgresConnection.h"

#include <gtest/gtest.h>

namespace {

using Kramo::PostgresConnection;
using Kramo::QuoteConnectionValue;

TEST(PostgresConnection, ValuesLibpqWouldMisreadAreQuoted) {
    struct Case {
        const char* value;
        const char* written;
    };
    const Case cases[] = {
        {"kramo", "kramo"},
        {"", "''"},
        {"two words", "'two words'"},
        {"it's", "'it\\'s'"},
        {"back\\slash", "'back\\\\slash'"},
        {"x port=1", "'x port=1'"},
        {"tab\there", "'tab\there'"},
        {"a=b", "a=b"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(QuoteConnectionValue(test.value), test.written) << test.value;
    }
}

TEST(PostgresConnection, PasswordNeverReachesTheLoggedString) {
    const PostgresConnection connection{"127.0.0.1", "kramo", "tajne heslo", "kramo db", 5433, 8};
    const std::string timeouts =
        " connect_timeout=8 keepalives=1 keepalives_idle=4 "
        "keepalives_interval=1 keepalives_count=4 tcp_user_timeout=8000";
    EXPECT_EQ(connection.ConnectionString(),
              "user=kramo password='tajne heslo' dbname='kramo db' hostaddr=127.0.0.1 port=5433" +
                  timeouts);
    EXPECT_EQ(connection.LoggedConnectionString(),
              "user=kramo password=*** dbname='kramo db' hostaddr=127.0.0.1 port=5433" + timeouts);
}

}  // namespace
