#include "PostgresConnection.h"

#include <algorithm>
#include <cctype>

#include "support/FormatStream.h"

namespace Kramo {
namespace {

bool NeedsQuotes(const std::string& value) {
    if (value.empty()) {
        return true;
    }
    for (const char c : value) {
        if (std::isspace(static_cast<unsigned char>(c)) || c == '\'' || c == '\\') {
            return true;
        }
    }
    return false;
}

std::string BuildConnectionString(const PostgresConnection& connection,
                                  const std::string& password) {
    // A network that drops the packets is noticed by the keepalives; libpq waits at least
    // two seconds for a connection whatever it is told.
    const int timeout = std::max(2, connection.timeout);
    return (FormatStream("user=%s password=%s dbname=%s hostaddr=%s port=%i connect_timeout=%i "
                         "keepalives=1 keepalives_idle=%i keepalives_interval=1 "
                         "keepalives_count=%i tcp_user_timeout=%i")
            << QuoteConnectionValue(connection.user) << QuoteConnectionValue(password)
            << QuoteConnectionValue(connection.databaseName)
            << QuoteConnectionValue(connection.address) << connection.port << timeout
            << std::max(1, timeout / 2) << std::max(1, timeout / 2) << timeout * 1000)
        .str();
}

}  // namespace

std::string QuoteConnectionValue(const std::string& value) {
    if (!NeedsQuotes(value)) {
        return value;
    }
    std::string quoted = "'";
    for (const char c : value) {
        if (c == '\'' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "'";
}

std::string PostgresConnection::ConnectionString() const {
    return BuildConnectionString(*this, password);
}

std::string PostgresConnection::LoggedConnectionString() const {
    return BuildConnectionString(*this, "***");
}

}  // namespace Kramo
