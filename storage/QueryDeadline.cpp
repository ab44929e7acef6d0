#include "QueryDeadline.h"

#include <sys/socket.h>

#include "support/Log.h"

namespace Kramo {

QueryDeadline::QueryDeadline(std::chrono::milliseconds timeout)
    : timeout_(timeout), watcher_([this] { Watch(); }) {}

QueryDeadline::~QueryDeadline() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_one();
    watcher_.join();
}

QueryDeadline::Armed::Armed(QueryDeadline& deadline, int socket) : deadline_(deadline) {
    deadline_.Arm(socket);
}

QueryDeadline::Armed::~Armed() {
    deadline_.Disarm();
}

bool QueryDeadline::Expired() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return expired_;
}

void QueryDeadline::Arm(int socket) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        socket_ = socket;
        due_ = std::chrono::steady_clock::now() + timeout_;
        expired_ = false;
    }
    changed_.notify_one();
}

void QueryDeadline::Disarm() {
    const std::lock_guard<std::mutex> lock(mutex_);
    socket_ = -1;
}

void QueryDeadline::Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        if (socket_ < 0) {
            changed_.wait(lock);
        } else if (changed_.wait_until(lock, due_) == std::cv_status::timeout && socket_ >= 0 &&
                   std::chrono::steady_clock::now() >= due_) {
            // The socket stays open (libpq closes it): only the waiting call is ended.
            LogMessage(LogError, "The database did not answer within %lld ms: connection cut\n",
                       static_cast<long long>(timeout_.count()));
            shutdown(socket_, SHUT_RDWR);
            expired_ = true;
            socket_ = -1;
        }
    }
}

}  // namespace Kramo
