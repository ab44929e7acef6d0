#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/StoreChange.h"

struct pg_conn;

namespace Kramo {

// Learns what the other desks change: a connection of its own listens on the channel on which
// the database's triggers announce every change of a seller or an item. It never waits for
// the server: a broken connection is opened anew step by step over the following calls, and
// once it listens again the next answer holds a change of everything, for what went unheard
// meanwhile.
class PostgresChangeListener {
  public:
    static constexpr const char* Channel = "kramo_changes";

    // Connects and listens at once, waiting a few seconds at most; a failure is logged, and
    // the calls that follow try again.
    explicit PostgresChangeListener(const std::string& connectionString);
    ~PostgresChangeListener();
    PostgresChangeListener(const PostgresChangeListener&) = delete;
    PostgresChangeListener& operator=(const PostgresChangeListener&) = delete;

    // The changes announced since the last call, oldest first.
    std::vector<StoreChange> Take();
    // The socket of the listening connection; -1 while it does not listen.
    int Socket() const;

    // One announcement, "i <item ID> <seller ID> u|d" or "s <seller ID> u|d"; nothing for
    // any other text.
    static std::optional<StoreChange> Parse(const std::string& payload);

  private:
    enum class State { Closed, Connecting, Subscribing, Listening };
    using Clock = std::chrono::steady_clock;

    void StartConnecting();
    void AdvanceConnecting();
    void AdvanceSubscribing(std::vector<StoreChange>& changes);
    void Listen(std::vector<StoreChange>& changes);
    // Lets the connection go; the reason is logged once per outage.
    void Close(const std::string& reason);
    void Enter(State state);
    Clock::duration InState() const { return Clock::now() - since_; }

    std::string connectionString_;
    std::unique_ptr<pg_conn, void (*)(pg_conn*)> connection_;
    State state_ = State::Closed;
    Clock::time_point since_;
    int connectPolling_ = 0;  // what the connecting step waits for: libpq's polling status
    bool outageLogged_ = false;
};

}  // namespace Kramo
