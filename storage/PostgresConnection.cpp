#include "PostgresConnection.h"

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
    return (FormatStream("user=%s password=%s dbname=%s hostaddr=%s port=%i")
            << QuoteConnectionValue(connection.user) << QuoteConnectionValue(password)
            << QuoteConnectionValue(connection.databaseName)
            << QuoteConnectionValue(connection.address) << connection.port)
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
