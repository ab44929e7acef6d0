#include "FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>
#include <utility>

#include "Log.h"

namespace Kramo {
namespace {

// How long a start waits for a program on the same folder that is just closing.
constexpr int LockAttempts = 20;
constexpr std::chrono::milliseconds LockRetryDelay{100};

using FolderKey = std::pair<dev_t, ino_t>;

std::map<FolderKey, std::weak_ptr<FolderLock>>& LocksHeld() {
    static std::map<FolderKey, std::weak_ptr<FolderLock>> held;
    return held;
}

// Tries a few times; true when locked. errno tells why not.
bool LockExclusively(int descriptor) {
    for (int attempt = 1;; ++attempt) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EWOULDBLOCK || attempt == LockAttempts) {
            return false;
        }
        std::this_thread::sleep_for(LockRetryDelay);
    }
}

int Unlocked(const std::string& path, const char* why) {
    LogMessage(LogError, "Data folder not locked, lock file '%s': %s\n", path.c_str(), why);
    return -1;
}

// The descriptor of the locked lock file; -1 when there is no lock, and then `refused` when
// another process holds it.
int LockFolder(const std::string& folder, bool& refused) {
    const std::string path = folder + FolderLock::FileName;
    // Never through a link, never waiting on a pipe; not handed on to started programs (the
    // document viewer), which would keep the folder locked after the program ended.
    const int descriptor =
        ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return Unlocked(path, std::strerror(errno));
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return Unlocked(path, "not a regular file");
    }
    if (!LockExclusively(descriptor)) {
        const int reason = errno;
        ::close(descriptor);
        refused = reason == EWOULDBLOCK;
        if (refused) {
            LogMessage(LogError, "Data folder '%s' is locked by another program\n", folder.c_str());
            return -1;
        }
        return Unlocked(path, std::strerror(reason));
    }
    return descriptor;
}

}  // namespace

std::shared_ptr<FolderLock> FolderLock::Acquire(const std::string& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
        return std::make_shared<FolderLock>(CreationKey(),
                                            Unlocked(folder + FileName, std::strerror(errno)));
    }
    const FolderKey key{status.st_dev, status.st_ino};
    std::shared_ptr<FolderLock> lock = LocksHeld()[key].lock();
    if (!lock) {
        bool refused = false;
        const int descriptor = LockFolder(folder, refused);
        if (refused) {
            return nullptr;
        }
        lock = std::make_shared<FolderLock>(CreationKey(), descriptor);
        LocksHeld()[key] = lock;
    }
    return lock;
}

FolderLock::~FolderLock() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

}  // namespace Kramo
