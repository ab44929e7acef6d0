#include "TcpProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace KramoTest {
namespace {

sockaddr_in Address(const std::string& host, int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    return address;
}

bool SendAll(int socket, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = send(socket, data, size, MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// A simple-query message of the frontend protocol whose text starts with COMMIT: 'Q', a
// four-byte length, the text.
bool HoldsCommit(const char* data, std::size_t size) {
    const std::string chunk(data, size);
    for (std::size_t at = chunk.find("COMMIT"); at != std::string::npos;
         at = chunk.find("COMMIT", at + 1)) {
        if (at >= 5 && chunk[at - 5] == 'Q') {
            return true;
        }
    }
    return false;
}

}  // namespace

TcpProxy::TcpProxy(const Kramo::PostgresConnection& target) : target_(target) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Address("127.0.0.1", 0);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error(std::string("TcpProxy: ") + std::strerror(errno));
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

TcpProxy::~TcpProxy() {
    stopping_ = true;
    thread_.join();
    for (Pair& pair : pairs_) {
        Close(pair);
    }
    for (const int socket : heldSockets_) {
        close(socket);
    }
    close(listener_);
}

Kramo::PostgresConnection TcpProxy::Connection() const {
    Kramo::PostgresConnection connection = target_;
    connection.address = "127.0.0.1";
    connection.port = port_;
    return connection;
}

void TcpProxy::SetMode(Mode mode) {
    if (mode != Mode::Silent) {
        const std::lock_guard<std::mutex> lock(held_);
        for (const int socket : heldSockets_) {
            close(socket);
        }
        heldSockets_.clear();
    }
    mode_ = mode;
}

void TcpProxy::Run() {
    while (!stopping_) {
        const bool silent = mode_ == Mode::Silent;
        std::vector<pollfd> watched = {{listener_, POLLIN, 0}};
        if (!silent) {
            for (const Pair& pair : pairs_) {
                watched.push_back({pair.client, POLLIN, 0});
                watched.push_back({pair.server, POLLIN, 0});
            }
        }
        if (poll(watched.data(), watched.size(), 20) <= 0) {
            continue;
        }
        if (watched[0].revents != 0) {
            Accept();
        }
        std::vector<Pair> kept;
        for (std::size_t index = 0; index < pairs_.size(); ++index) {
            Pair& pair = pairs_[index];
            bool open = true;
            if (!silent && index * 2 + 2 < watched.size()) {
                if (watched[index * 2 + 1].revents != 0) {
                    open = Forward(pair, true);
                }
                if (open && watched[index * 2 + 2].revents != 0) {
                    open = Forward(pair, false);
                }
            }
            if (open) {
                kept.push_back(pair);
            } else {
                Close(pair);
            }
        }
        pairs_ = kept;
    }
}

void TcpProxy::Accept() {
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
        return;
    }
    if (mode_ == Mode::Silent) {
        const std::lock_guard<std::mutex> lock(held_);
        heldSockets_.push_back(client);
        return;
    }
    const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Address(target_.address, target_.port);
    if (server < 0 ||
        connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(client);
        if (server >= 0) {
            close(server);
        }
        return;
    }
    pairs_.push_back({client, server});
}

bool TcpProxy::Forward(Pair& pair, bool fromClient) {
    char buffer[65536];
    const ssize_t received = recv(fromClient ? pair.client : pair.server, buffer, sizeof buffer, 0);
    if (received <= 0) {
        return false;
    }
    const auto size = static_cast<std::size_t>(received);
    if (!SendAll(fromClient ? pair.server : pair.client, buffer, size)) {
        return false;
    }
    Mode cut = Mode::CutNextCommit;
    if (fromClient && HoldsCommit(buffer, size) &&
        mode_.compare_exchange_strong(cut, Mode::Forward)) {
        ++cuts_;
        return false;  // the server has the COMMIT; the desk will never hear the answer
    }
    return true;
}

void TcpProxy::Close(Pair& pair) {
    close(pair.client);
    close(pair.server);
}

}  // namespace KramoTest
