#include "PostgresChangeListener.h"

#include <libpq-fe.h>
#include <poll.h>

#include <charconv>
#include <sstream>

#include "support/Log.h"

namespace Kramo {
namespace {

// The listener must never hold the desk: connecting gives up after this, and a failed attempt
// is repeated after a pause.
constexpr std::chrono::seconds ConnectTimeout(5);
constexpr std::chrono::seconds RetryPause(1);
// Keepalives tell a network gone silent from a quiet channel.
constexpr const char* ListenerOptions =
    " connect_timeout=5 keepalives=1 keepalives_idle=5 keepalives_interval=2 keepalives_count=3";
// Connecting steps taken at most in one call while the socket is ready at once.
constexpr int StepsPerCall = 20;

bool ReadPositive(const std::string& text, int& value) {
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && value > 0;
}

bool ReadRemoved(const std::string& text, bool& removed) {
    if (text != "u" && text != "d") {
        return false;
    }
    removed = text == "d";
    return true;
}

// Whether the socket is ready for what libpq waits for, without waiting.
bool SocketReady(PGconn* connection, int polling) {
    pollfd socket{PQsocket(connection),
                  static_cast<short>(polling == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
    return ::poll(&socket, 1, 0) > 0;
}

}  // namespace

PostgresChangeListener::PostgresChangeListener(const std::string& connectionString)
    : connectionString_(connectionString + ListenerOptions), connection_(nullptr, &PQfinish) {
    connection_.reset(PQconnectdb(connectionString_.c_str()));
    if (PQstatus(connection_.get()) != CONNECTION_OK) {
        Close(PQerrorMessage(connection_.get()));
        return;
    }
    PGresult* const result = PQexec(connection_.get(), (std::string("LISTEN ") + Channel).c_str());
    const bool listening = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    if (!listening) {
        Close(PQerrorMessage(connection_.get()));
        return;
    }
    Enter(State::Listening);
}

PostgresChangeListener::~PostgresChangeListener() = default;

std::vector<StoreChange> PostgresChangeListener::Take() {
    std::vector<StoreChange> changes;
    if (state_ == State::Closed && InState() >= RetryPause) {
        StartConnecting();
    }
    if (state_ == State::Connecting) {
        AdvanceConnecting();
    }
    if (state_ == State::Subscribing) {
        AdvanceSubscribing(changes);
    }
    if (state_ == State::Listening) {
        Listen(changes);
    }
    return changes;
}

int PostgresChangeListener::Socket() const {
    return state_ == State::Listening ? PQsocket(connection_.get()) : -1;
}

void PostgresChangeListener::StartConnecting() {
    connection_.reset(PQconnectStart(connectionString_.c_str()));
    if (!connection_ || PQstatus(connection_.get()) == CONNECTION_BAD) {
        Close(connection_ ? PQerrorMessage(connection_.get()) : "out of memory");
        return;
    }
    connectPolling_ = PGRES_POLLING_WRITING;  // as libpq asks for the first step
    Enter(State::Connecting);
}

void PostgresChangeListener::AdvanceConnecting() {
    PGconn* const connection = connection_.get();
    for (int step = 0; step < StepsPerCall && SocketReady(connection, connectPolling_); ++step) {
        connectPolling_ = PQconnectPoll(connection);
        if (connectPolling_ == PGRES_POLLING_FAILED) {
            Close(PQerrorMessage(connection));
            return;
        }
        if (connectPolling_ == PGRES_POLLING_OK) {
            if (PQsendQuery(connection, (std::string("LISTEN ") + Channel).c_str()) == 0) {
                Close(PQerrorMessage(connection));
                return;
            }
            Enter(State::Subscribing);
            return;
        }
    }
    if (InState() > ConnectTimeout) {
        Close("connecting timed out");
    }
}

void PostgresChangeListener::AdvanceSubscribing(std::vector<StoreChange>& changes) {
    PGconn* const connection = connection_.get();
    if (PQconsumeInput(connection) == 0) {
        Close(PQerrorMessage(connection));
        return;
    }
    if (PQisBusy(connection) != 0) {
        if (InState() > ConnectTimeout) {
            Close("LISTEN timed out");
        }
        return;
    }
    bool listening = false;
    while (PGresult* const result = PQgetResult(connection)) {
        listening = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
    }
    if (!listening) {
        Close(PQerrorMessage(connection));
        return;
    }
    LogMessage(LogNotice, "Listening to the other desks' changes again\n");
    outageLogged_ = false;
    Enter(State::Listening);
    changes.push_back(StoreChange::Everything());
}

void PostgresChangeListener::Listen(std::vector<StoreChange>& changes) {
    PGconn* const connection = connection_.get();
    if (PQconsumeInput(connection) == 0 || PQstatus(connection) == CONNECTION_BAD) {
        Close(PQerrorMessage(connection));
        return;
    }
    while (PGnotify* const notice = PQnotifies(connection)) {
        const std::string payload = notice->extra;
        const bool ours = std::string(notice->relname) == Channel;
        PQfreemem(notice);
        if (!ours) {
            continue;
        }
        if (const std::optional<StoreChange> change = Parse(payload)) {
            changes.push_back(*change);
        } else {
            LogMessage(LogError, "Change notice of unknown form ignored: '%s'\n", payload.c_str());
        }
    }
}

void PostgresChangeListener::Close(const std::string& reason) {
    if (!outageLogged_) {
        LogMessage(LogError, "Listening to the other desks' changes stopped: %s\n", reason.c_str());
        outageLogged_ = true;
    }
    connection_.reset();
    Enter(State::Closed);
}

void PostgresChangeListener::Enter(State state) {
    state_ = state;
    since_ = Clock::now();
}

std::optional<StoreChange> PostgresChangeListener::Parse(const std::string& payload) {
    std::istringstream words(payload);
    std::vector<std::string> parts;
    for (std::string word; words >> word;) {
        parts.push_back(word);
    }
    StoreChange change;
    if (parts.size() == 4 && parts[0] == "i" && ReadPositive(parts[1], change.id) &&
        ReadPositive(parts[2], change.sellerId) && ReadRemoved(parts[3], change.removed)) {
        change.record = StoreChange::Record::Item;
        return change;
    }
    if (parts.size() == 3 && parts[0] == "s" && ReadPositive(parts[1], change.id) &&
        ReadRemoved(parts[2], change.removed)) {
        change.record = StoreChange::Record::Seller;
        change.sellerId = change.id;
        return change;
    }
    return std::nullopt;
}

}  // namespace Kramo
