#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace Kramo {

// A watchdog over the answers of a database session. A network that goes silent behind a
// router or proxy still acknowledges every packet, so neither keepalives nor the server's
// own timeouts end a call that waits for an answer. While armed, the watchdog shuts the
// session's socket down once the time is up: the waiting libpq call returns with a broken
// connection, which the store reports like any other database failure.
class QueryDeadline {
  public:
    explicit QueryDeadline(std::chrono::milliseconds timeout);
    ~QueryDeadline();
    QueryDeadline(const QueryDeadline&) = delete;
    QueryDeadline& operator=(const QueryDeadline&) = delete;

    // Armed for the lifetime of the object: the socket is shut down when the lifetime lasts
    // longer than the timeout.
    class Armed {
      public:
        Armed(QueryDeadline& deadline, int socket);
        ~Armed();
        Armed(const Armed&) = delete;
        Armed& operator=(const Armed&) = delete;

      private:
        QueryDeadline& deadline_;
    };

    // Whether the watchdog shut a socket down since the last arming.
    bool Expired() const;

  private:
    void Arm(int socket);
    void Disarm();
    void Watch();

    const std::chrono::milliseconds timeout_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int socket_ = -1;
    std::chrono::steady_clock::time_point due_;
    bool expired_ = false;
    bool stopping_ = false;
    std::thread watcher_;
};

}  // namespace Kramo
