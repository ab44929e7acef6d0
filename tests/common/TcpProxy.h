#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "storage/PostgresConnection.h"

namespace KramoTest {

// A TCP proxy on 127.0.0.1 in front of a database server, which breaks the network the way
// real ones break: it cuts a session right after forwarding its COMMIT (the server commits,
// the desk never hears of it), or goes silent, forwarding nothing and closing nothing, as a
// network behind a router that lost its route.
class TcpProxy {
  public:
    enum class Mode { Forward, CutNextCommit, Silent };

    explicit TcpProxy(const Kramo::PostgresConnection& target);
    ~TcpProxy();
    TcpProxy(const TcpProxy&) = delete;
    TcpProxy& operator=(const TcpProxy&) = delete;

    // The target's connection, reached through the proxy.
    Kramo::PostgresConnection Connection() const;
    // CutNextCommit returns to Forward after its cut; leaving Silent drops the connections
    // accepted meanwhile.
    void SetMode(Mode mode);
    int Cuts() const { return cuts_; }

  private:
    struct Pair {
        int client;
        int server;
    };

    void Run();
    void Accept();
    // Forwards what one side sent; false when the pair is to be closed.
    bool Forward(Pair& pair, bool fromClient);
    static void Close(Pair& pair);

    Kramo::PostgresConnection target_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<Mode> mode_{Mode::Forward};
    std::atomic<int> cuts_{0};
    std::atomic<bool> stopping_{false};
    std::mutex held_;  // guards heldSockets_
    std::vector<int> heldSockets_;
    std::vector<Pair> pairs_;
    std::thread thread_;
};

}  // namespace KramoTest
